// SPDX-License-Identifier: GPL-3.0-or-later
// The stored settings: organisation "MARDEKO", group "Backup" (LastModel,
// ComPort, LastFilePath, Language, LastWinPos) and group "Ports" (the device
// path of each COM port number).
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

class QSettings;

namespace vb420 {

class AppSettings {
 public:
  static constexpr const char* kOrganisation = "MARDEKO";
  static constexpr const char* kApplication = "vb420";

  AppSettings();
  ~AppSettings();

  // Raw values; absent ones are empty (or nullopt).
  std::optional<int> Language() const;
  QString LastModel() const;
  std::optional<long> ComPort() const;
  QString LastFilePath() const;
  QString LastWinPos() const;

  void SetLanguage(int key);
  void SetLastModel(const QString& v);
  void SetComPort(int port);
  void SetLastFilePath(const QString& v);
  void SetLastWinPos(const QString& v);

  // The recent files of the File menu, newest first (group "Recent").
  QStringList RecentFiles() const;
  void SetRecentFiles(const QStringList& files);

  // Device path of COMn (environment, "Ports" group, built-in default).
  std::string PortDevice(int port) const;
  // Stores the device of COMn ("" goes back to the built-in default).
  void SetPortDevice(int port, const std::string& path);

  void Sync();
  QString FileName() const;

 private:
  std::unique_ptr<QSettings> s_;
};

}  // namespace vb420
