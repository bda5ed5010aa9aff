#include "setup/CCaptureDialog.h"

#include "DialogLayout.h"
#include "KeyEventCode.h"
#include "SetupTexts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

CCaptureDialog::CCaptureDialog(const ControlBindings& current, Control control, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint), m_capture(current, control)
{
    setFocusPolicy(Qt::StrongFocus);
    m_prompt = new QLabel(Text(texts::kPressKey), this);
    m_prompt->setAlignment(Qt::AlignCenter);
    m_prompt->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);

    // Sized once for the longer prompt, so the window does not jump when the
    // prompt changes.
    const QSize base = DialogUnitsToPixels(*this, 188, 47);
    const QMargins margins = layout->contentsMargins();
    const int textWidth = base.width() - margins.left() - margins.right();
    const QRect needed = m_prompt->fontMetrics().boundingRect(QRect(0, 0, textWidth, 0),
                                                               Qt::AlignCenter | Qt::TextWordWrap,
                                                               Text(texts::kKeyInUse));
    setFixedSize(base.width(), std::max(base.height(), needed.height() + margins.top() + margins.bottom()));
}

QString CCaptureDialog::Prompt() const
{
    return m_prompt->text();
}

void CCaptureDialog::OfferKey(int code)
{
    const CaptureStep step = m_capture.Offer(code);
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
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape)
            break; // the dialog's own cancel
        if (!key->isAutoRepeat())
            OfferKey(DikFromKeyEvent(*key));
        return true;
    }
    case QEvent::KeyRelease:
        return true;
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
