// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

namespace vb420 {

namespace {

QLocale::Language LanguageOf(const std::string& name) {
  if (name == "Spanish") return QLocale::Spanish;
  return QLocale::English;
}

// The file dialogs name file types through a translation context that Qt
// renamed after the catalogues of some languages were made: the same texts
// ("Folder", "%1 File", "File") are found under the file dialog's context.
class FileTypeAlias : public QTranslator {
 public:
  explicit FileTypeAlias(const QTranslator& base) : base_(base) {}
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                    int n) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
    for (const char* other : {"QFileDialog", "QFileIconProvider", "QFileSystemModel"})
      if (QString t = base_.translate(other, source, nullptr, n); !t.isEmpty()) return t;
    return {};
  }

 private:
  const QTranslator& base_;
};

struct Installed {
  std::vector<std::unique_ptr<QTranslator>> translators;
  QString language;
};

Installed& Current() {
  static Installed installed;
  return installed;
}

// Where Qt's catalogues may be: Qt's own folder first, then the usual
// system folders (a program built against one Qt may run beside another's
// translations package).
QStringList TranslationFolders() {
  QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
  for (const char* f : {"/usr/share/qt6/translations", "/usr/local/share/qt6/translations"})
    if (!folders.contains(QString::fromLatin1(f))) folders << QString::fromLatin1(f);
  return folders;
}

}  // namespace

QLocale UiLocale(const std::string& languageName) {
  const QLocale::Language language = LanguageOf(languageName);
  const QLocale system = QLocale::system();
  if (system.language() == language) return system;
  return QLocale(language);
}

bool InstallQtTranslations(const std::string& languageName) {
  Installed& cur = Current();
  if (QCoreApplication* app = QCoreApplication::instance())
    for (auto& t : cur.translators) app->removeTranslator(t.get());
  cur.translators.clear();
  cur.language.clear();
  const QLocale::Language language = LanguageOf(languageName);
  if (language == QLocale::English) return true;
  const QString code = QLocale(language).name().section(QLatin1Char('_'), 0, 0);
  // qtbase holds the dialogs and buttons; the others are loaded when present.
  bool haveBase = false;
  for (const char* catalogue : {"qtbase", "qtmultimedia"}) {
    for (const QString& folder : TranslationFolders()) {
      auto t = std::make_unique<QTranslator>();
      if (!t->load(QStringLiteral("%1_%2").arg(QLatin1String(catalogue), code), folder)) continue;
      if (QCoreApplication* app = QCoreApplication::instance()) app->installTranslator(t.get());
      if (QLatin1String(catalogue) == QLatin1String("qtbase")) haveBase = true;
      cur.translators.push_back(std::move(t));
      break;
    }
  }
  if (haveBase) {
    cur.language = code;
    auto alias = std::make_unique<FileTypeAlias>(*cur.translators.front());
    if (QCoreApplication* app = QCoreApplication::instance()) app->installTranslator(alias.get());
    cur.translators.push_back(std::move(alias));
  }
  return haveBase;
}

QString InstalledQtLanguage() { return Current().language; }

}  // namespace vb420
