// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/ui/AppSettings.h"

#include <QSettings>

#include "frame/ui/SettingsFormat.h"
#include "lang/Platform.h"

namespace vb420 {

namespace {
const QString kBackup = QStringLiteral("Backup/");
}

#ifdef Q_OS_WIN
// On Windows the settings are a file in the user's data folder
// (%LOCALAPPDATA%\vb420\vb420.ini) rather than the registry: vb420cli reads
// the port names from there, so COMn means the same port to both programs.
AppSettings::AppSettings()
    : s_(std::make_unique<QSettings>(QString::fromStdString(UserSettingsFile()), QSettings::IniFormat)) {}
#else
AppSettings::AppSettings()
    : s_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication)) {}
#endif

AppSettings::~AppSettings() = default;

std::optional<int> AppSettings::Language() const {
  const QVariant v = s_->value(kBackup + "Language");
  bool ok = false;
  const int key = v.toInt(&ok);
  if (!v.isValid() || !ok) return std::nullopt;
  return key;
}

QString AppSettings::LastModel() const { return s_->value(kBackup + "LastModel").toString(); }

std::optional<long> AppSettings::ComPort() const {
  const QVariant v = s_->value(kBackup + "ComPort");
  bool ok = false;
  const long long port = v.toLongLong(&ok);
  if (!v.isValid() || !ok) return std::nullopt;
  return static_cast<long>(std::max<long long>(std::min<long long>(port, 1L << 30), -(1L << 30)));
}

QString AppSettings::LastFilePath() const { return s_->value(kBackup + "LastFilePath").toString(); }
QString AppSettings::LastWinPos() const { return s_->value(kBackup + "LastWinPos").toString(); }

void AppSettings::SetLanguage(int key) { s_->setValue(kBackup + "Language", key & 0xFFFF); }
void AppSettings::SetLastModel(const QString& v) { s_->setValue(kBackup + "LastModel", v); }
void AppSettings::SetComPort(int port) { s_->setValue(kBackup + "ComPort", port); }
void AppSettings::SetLastFilePath(const QString& v) { s_->setValue(kBackup + "LastFilePath", v); }
void AppSettings::SetLastWinPos(const QString& v) { s_->setValue(kBackup + "LastWinPos", v); }

QStringList AppSettings::RecentFiles() const {
  QStringList out;
  for (int i = 1; i <= 8; ++i) {
    const QString v = s_->value(QStringLiteral("Recent/File%1").arg(i)).toString();
    if (!v.isEmpty()) out << v;
  }
  return out;
}

void AppSettings::SetRecentFiles(const QStringList& files) {
  s_->remove(QStringLiteral("Recent"));
  for (int i = 0; i < files.size() && i < 8; ++i) s_->setValue(QStringLiteral("Recent/File%1").arg(i + 1), files[i]);
}

std::string AppSettings::PortDevice(int port) const {
  const QString stored = s_->value(QStringLiteral("Ports/COM%1").arg(port)).toString();
  return PortDevicePath(port, stored.toStdString());
}

void AppSettings::SetPortDevice(int port, const std::string& path) {
  const QString key = QStringLiteral("Ports/COM%1").arg(port);
  if (path.empty() || path == DefaultPortDevice(port)) s_->remove(key);
  else s_->setValue(key, QString::fromStdString(path));
}

void AppSettings::Sync() { s_->sync(); }
QString AppSettings::FileName() const { return s_->fileName(); }

}  // namespace vb420
