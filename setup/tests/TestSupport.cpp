#include "TestSupport.h"

#include "common/AtomicFile.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

int CScriptedHost::Run(QDialog& dialog)
{
    dialog.setResult(QDialog::Rejected);
    if (scripts.empty()) {
        ++unscripted;
        return QDialog::Rejected;
    }
    Script script = std::move(scripts.front());
    scripts.pop_front();
    dialog.show();
    script(dialog);
    dialog.hide();
    return dialog.result();
}

void CScriptedHost::ShowError(QWidget*, const QString& text)
{
    errors << text;
}

bool CScriptedHost::AskYesNo(QWidget*, const QString& caption, const QString& text)
{
    questions << caption + "|" + text;
    return answer;
}

void Click(QWidget& parent, const QString& text)
{
    QAbstractButton* button = FindButton(parent, text);
    QVERIFY2(button, qPrintable("no single button \"" + text + "\""));
    QVERIFY2(button->isVisible(), qPrintable("button \"" + text + "\" is hidden"));
    QTest::mouseClick(button, Qt::LeftButton);
}

QStringList KeyNamesShown(QWidget& controlsDialog)
{
    QList<QLineEdit*> boxes = controlsDialog.findChildren<QLineEdit*>();
    std::sort(boxes.begin(), boxes.end(), [](QLineEdit* a, QLineEdit* b) {
        return a->mapToGlobal(QPoint()).y() < b->mapToGlobal(QPoint()).y();
    });
    QStringList names;
    for (QLineEdit* box : boxes)
        names << box->text();
    return names;
}

void SendKey(QWidget& target, int evdevCode, bool press, bool autoRepeat)
{
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier,
                    quint32(evdevCode + 8), 0, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(&target, &event);
}

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    QVERIFY(WriteFileAtomically(path, bytes.data(), bytes.size()));
}

CWriteRefusal::CWriteRefusal(const QString& folder) : m_folder(folder.toStdString())
{
    ::chmod(m_folder.c_str(), 0555);
    if (::access(m_folder.c_str(), W_OK) != 0)
        return;
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_oldLimit = limit.rlim_cur;
    limit.rlim_cur = 0;
    std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
    m_limited = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

CWriteRefusal::~CWriteRefusal()
{
    if (m_limited) {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(m_oldLimit);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::chmod(m_folder.c_str(), 0755);
}
