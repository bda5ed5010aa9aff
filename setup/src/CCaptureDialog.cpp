#include "setup/CCaptureDialog.h"

#include "DialogLayout.h"
#include "KeyEventCode.h"
#include "SetupTexts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CCaptureDialog::CCaptureDialog(const ControlBindings& current, GameControl control, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint), m_capture(current, control)
{
    setFocusPolicy(Qt::StrongFocus);
    m_prompt = new QLabel(Text(texts::kKeyInUse), this);
    m_prompt->setAlignment(Qt::AlignCenter);
    m_prompt->setWordWrap(true);
    auto* hint = new QLabel(Text(texts::kEscapeCancels), this);
    hint->setAlignment(Qt::AlignCenter);
    hint->setForegroundRole(QPalette::PlaceholderText);
    auto* cancel = new QPushButton(Text(texts::kAbandon), this);
    // Every key belongs to the capture: the button answers the mouse only.
    cancel->setFocusPolicy(Qt::NoFocus);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt, 1);
    layout->addWidget(hint);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(cancel);
    row->addStretch();
    layout->addLayout(row);

    // Sized once for the longer prompt, so the window does not jump when the
    // prompt changes.
    const QSize base = DialogUnitsToPixels(*this, 188, 47);
    const QMargins margins = layout->contentsMargins();
    const int textWidth = base.width() - margins.left() - margins.right();
    const QRect prompt = m_prompt->fontMetrics().boundingRect(QRect(0, 0, textWidth, 0),
                                                               Qt::AlignCenter | Qt::TextWordWrap,
                                                               Text(texts::kKeyInUse));
    const int needed = margins.top() + prompt.height() + hint->sizeHint().height() + cancel->sizeHint().height() +
                       2 * layout->spacing() + margins.bottom();
    setFixedSize(base.width(), std::max(base.height(), needed));
    m_prompt->setText(Text(texts::kPressKey));
}

QString CCaptureDialog::Prompt() const
{
    return m_prompt->text();
}

void CCaptureDialog::PressKey(int code)
{
    Follow(m_capture.Press(code));
}

void CCaptureDialog::ReleaseKey(int code)
{
    Follow(m_capture.Release(code));
}

void CCaptureDialog::Follow(CaptureStep step)
{
    if (m_capture.SawKeyInUse())
        m_prompt->setText(Text(texts::kKeyInUse));
    if (step == CaptureStep::Captured)
        accept();
}

bool CCaptureDialog::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Every key belongs to the capture; no shortcut may take it first.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && event->type() == QEvent::KeyPress)
            break; // the dialog's own cancel
        if (!key->isAutoRepeat()) {
            if (event->type() == QEvent::KeyPress)
                PressKey(DikFromKeyEvent(*key));
            else
                ReleaseKey(DikFromKeyEvent(*key));
        }
        return true;
    }
    default:
        break;
    }
    return QDialog::event(event);
}

void CCaptureDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}
