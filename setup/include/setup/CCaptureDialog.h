#pragma once
// The capture dialog: a small window without a title that asks for a key and
// takes the first key pressed in it for one control (see CKeyCapture for the
// "already in use" rule and for modifiers, which count only when pressed on
// their own). Keys are told apart by their physical position, as the game
// reads them, so the dialog maps each key event's native scan code through
// the one key table the game uses. Escape cancels, as the line under the
// prompt says, and so does the "Annulla" button, which never takes the
// keyboard focus (Space and Enter are keys to capture like any other).
// Auto-repeats are not new key presses and are ignored.

#include "setup/CKeyCapture.h"

#include <QDialog>

class QLabel;
class QPushButton;

class CCaptureDialog : public QDialog {
public:
    CCaptureDialog(const ControlBindings& current, GameControl control, QWidget* parent = nullptr);

    // Offers a key press (release) by its scan code; ends the dialog with
    // "OK" when a key is taken.
    void PressKey(int code);
    void ReleaseKey(int code);
    // The captured code; 0 unless the dialog ended with "OK".
    int CapturedCode() const { return m_capture.Code(); }
    QString Prompt() const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Follow(CaptureStep step);

    CKeyCapture m_capture;
    QLabel* m_prompt = nullptr;
};
