#include "kvfedit/CRecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Recent File List");

QString Key(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

// One spelling per file, so that a file opened by two paths is listed once.
QString Canonical(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

CRecentFileList::CRecentFileList(QSettings& settings) : m_settings(settings)
{
    m_settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString path = m_settings.value(Key(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path))
            m_files << path;
    }
    m_settings.endGroup();
}

void CRecentFileList::Add(const QString& path)
{
    const QString file = Canonical(path);
    m_files.removeAll(file);
    m_files.prepend(file);
    while (m_files.size() > kMaxFiles)
        m_files.removeLast();
    Save();
}

void CRecentFileList::Remove(const QString& path)
{
    if (m_files.removeAll(path) + m_files.removeAll(Canonical(path)) > 0)
        Save();
}

void CRecentFileList::Save()
{
    m_settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxFiles; ++i) {
        if (i < m_files.size())
            m_settings.setValue(Key(i), m_files[i]);
        else
            m_settings.remove(Key(i));
    }
    m_settings.endGroup();
    m_settings.sync();
}
