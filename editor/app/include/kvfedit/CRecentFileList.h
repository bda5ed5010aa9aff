#pragma once
// CRecentFileList: the documents opened or saved last, newest first, kept in
// the user settings ("Recent File List", File1 to File10) so that the next
// start offers them again.

#include <QStringList>

class QSettings;

class CRecentFileList {
public:
    static constexpr int kMaxFiles = 10;
    static constexpr const char* kSettingsOrganisation = "Local AppWizard-Generated Applications";
    static constexpr const char* kSettingsApplication = "kvfedit";

    // Reads the list from `settings`, which must outlive this object.
    explicit CRecentFileList(QSettings& settings);

    const QStringList& Files() const { return m_files; }
    // Puts the file first (once), drops the oldest beyond kMaxFiles, and
    // writes the list back.
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Save();

    QSettings& m_settings;
    QStringList m_files;
};
