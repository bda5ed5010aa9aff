#include "kvfedit/CProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CProgressDialog::CProgressDialog(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_percent = new QLabel(this);
    m_percent->setAlignment(Qt::AlignCenter);
    m_message = new QLabel(this);
    m_message->setMinimumWidth(280);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setToolTip(QStringLiteral("Stop and leave the document as it was (Esc)"));
    connect(m_cancel, &QPushButton::clicked, this, &CProgressDialog::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(m_percent);
    layout->addWidget(m_message);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_cancel);
    layout->addLayout(row);
}

void CProgressDialog::Cancel()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
    m_message->setText(QStringLiteral("Cancelling ..."));
}

QString CProgressDialog::PercentText(int position, int lower, int upper)
{
    const int64_t span = int64_t(upper) - lower;
    const int64_t percent = span > 0 ? (int64_t(position) - lower) * 100 / span : 0;
    return QString::asprintf("%d%c", int(percent), '%');
}

QString CProgressDialog::ShownPercent() const
{
    return m_percent->text();
}

QString CProgressDialog::ShownMessage() const
{
    return m_message->text();
}

void CProgressDialog::Begin(const std::string& caption)
{
    setWindowTitle(QString::fromStdString(caption));
    m_message->clear();
    m_cancelled = false;
    m_cancel->setEnabled(true);
    SetRange(0, 100);
    // Application-modal but shown without a loop of its own: the operation
    // runs on, and nothing else takes input meanwhile.
    setWindowModality(Qt::ApplicationModal);
    show();
    SetPosition(0);
}

void CProgressDialog::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    m_bar->setRange(lower, upper > lower ? upper : lower + 1);
}

void CProgressDialog::SetPosition(int position)
{
    m_bar->setValue(position);
    const QString percent = PercentText(position, m_lower, m_upper);
    if (percent != m_percent->text())
        m_percent->setText(percent);
    LetEventsRun();
}

void CProgressDialog::SetMessage(const std::string& text)
{
    m_message->setText(QString::fromStdString(text));
}

void CProgressDialog::End()
{
    hide();
    setWindowModality(Qt::NonModal);
}

void CProgressDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Cancel();
}

void CProgressDialog::LetEventsRun()
{
    // The dialog is application-modal: input reaches its Cancel button and
    // no other window, so no command can change the document under the
    // running operation.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
