// Capturing a key for one control: the rule, and the dialog fed with key
// events as the windowing system delivers them.

#include "TestSupport.h"
#include "setup/CCaptureDialog.h"
#include "setup/CKeyCapture.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kPressKey = QString::fromUtf8("Per favore premete il tasto desiderato");
const QString kKeyInUse = QString::fromUtf8("Il pulsante selezionato è già in uso, per favore scegliete ancora…");

// evdev codes of a few keys.
constexpr int kEvdevQ = 16, kEvdevA = 30, kEvdevLeftShift = 42, kEvdevRightShift = 54, kEvdevSpace = 57,
              kEvdevUp = 103, kEvdevRightCtrl = 97, kEvdevLeftAlt = 56;

// A key pressed and released.
void Tap(QWidget& dialog, int evdev)
{
    SendKey(dialog, evdev);
    SendKey(dialog, evdev, false);
}

} // namespace

class CaptureTest : public QObject {
    Q_OBJECT
private slots:
    void theHiddenFifthButtonCountsAsBound()
    {
        ControlBindings bindings = DefaultBindings();
        bindings.button5 = 30;
        CKeyCapture capture(bindings, GameControl::Up);
        QCOMPARE(capture.Offer(30), CaptureStep::InUse);
    }

    void theGamesPauseAndVolumeKeysAreNotTaken()
    {
        // Pause, F10, F11, F12 and the keypad's minus and plus: the capture
        // waits on, and the next ordinary key is taken.
        CKeyCapture capture(ControlBindings(), GameControl::Fire);
        for (int code : {0xC5, 0x44, 0x57, 0x58, 0x4A, 0x4E}) {
            QCOMPARE(capture.Press(code), CaptureStep::Ignored);
            QCOMPARE(capture.Release(code), CaptureStep::Ignored);
        }
        QCOMPARE(capture.Press(0x43), CaptureStep::Captured); // F9 is free
        QCOMPARE(capture.Code(), 0x43);
    }

    void modifiersCountOnlyOnTheirOwn()
    {
        CKeyCapture shifted(ControlBindings(), GameControl::Up);
        QCOMPARE(shifted.Press(42), CaptureStep::Ignored);  // left Shift held...
        QCOMPARE(shifted.Press(30), CaptureStep::Captured); // ...for a capital A: the A key
        QCOMPARE(shifted.Code(), 30);

        CKeyCapture alone(ControlBindings(), GameControl::Up);
        QCOMPARE(alone.Press(54), CaptureStep::Ignored);
        QCOMPARE(alone.Release(42), CaptureStep::Ignored); // not the one held
        QCOMPARE(alone.Release(54), CaptureStep::Captured);
        QCOMPARE(alone.Code(), 54);

        // Released after another key: that key was the one meant.
        CKeyCapture after(DefaultBindings(), GameControl::Up);
        QCOMPARE(after.Press(157), CaptureStep::Ignored);
        QCOMPARE(after.Press(54), CaptureStep::Ignored); // a second modifier replaces the first
        QCOMPARE(after.Press(30), CaptureStep::Captured);
        QCOMPARE(after.Release(54), CaptureStep::Ignored);
        QCOMPARE(after.Code(), 30);

        // A modifier in use by another control is refused on its release.
        CKeyCapture inUse(DefaultBindings(), GameControl::Up);
        QCOMPARE(inUse.Press(54), CaptureStep::Ignored);
        QCOMPARE(inUse.Release(54), CaptureStep::InUse);
        QVERIFY(inUse.SawKeyInUse());
    }

    void dialogShowsThePromptWithoutTitle()
    {
        CCaptureDialog dialog(DefaultBindings(), GameControl::Up);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString());
        QCOMPARE(dialog.Prompt(), kPressKey);
        QLabel* label = dialog.findChild<QLabel*>();
        QVERIFY(label);
        QVERIFY(label->alignment() & Qt::AlignHCenter);
        QStringList texts;
        for (QLabel* each : dialog.findChildren<QLabel*>())
            texts << each->text();
        QVERIFY(texts.contains(QStringLiteral("Esc per annullare")));
    }

    void annullaCancelsAndNeverTakesAKey()
    {
        CCaptureDialog dialog(DefaultBindings(), GameControl::Up);
        dialog.show();
        auto* cancel = qobject_cast<QPushButton*>(FindButton(dialog, QStringLiteral("Annulla")));
        QVERIFY(cancel);
        QCOMPARE(cancel->focusPolicy(), Qt::NoFocus);
        QVERIFY(!cancel->isDefault() && !cancel->autoDefault());
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.CapturedCode(), 0);

        // Space is a key to bind, not a press of the button.
        CCaptureDialog space(ControlBindings(), GameControl::Fire);
        space.show();
        SendKey(space, kEvdevSpace);
        QCOMPARE(space.result(), int(QDialog::Accepted));
        QCOMPARE(space.CapturedCode(), 57);
    }

    void aShiftedCharacterBindsItsKey()
    {
        CCaptureDialog dialog(ControlBindings(), GameControl::Weapon);
        dialog.show();
        SendKey(dialog, kEvdevLeftShift);
        QVERIFY(dialog.isVisible());
        SendKey(dialog, kEvdevA);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.CapturedCode(), 30);

        CCaptureDialog alt(ControlBindings(), GameControl::Weapon);
        alt.show();
        Tap(alt, kEvdevLeftAlt);
        QCOMPARE(alt.result(), int(QDialog::Accepted));
        QCOMPARE(alt.CapturedCode(), 56);
    }

    void keyEventsAreMappedByPosition()
    {
        CCaptureDialog dialog(DefaultBindings(), GameControl::Jeep);
        dialog.show();
        SendKey(dialog, kEvdevQ, false); // a release is not a key press
        SendKey(dialog, kEvdevQ, true, true); // nor is an auto-repeat
        QVERIFY(dialog.isVisible());
        SendKey(dialog, kEvdevQ);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.CapturedCode(), 16);

        CCaptureDialog own(DefaultBindings(), GameControl::Jeep);
        own.show();
        Tap(own, kEvdevRightCtrl); // the extended key's own code, 157
        QCOMPARE(own.result(), int(QDialog::Accepted));
        QCOMPARE(own.CapturedCode(), 157);
    }

    void aKeyInUseKeepsTheDialogOpenWithTheSecondPrompt()
    {
        CCaptureDialog dialog(DefaultBindings(), GameControl::Up);
        dialog.show();
        Tap(dialog, kEvdevRightShift); // the binoculars' key
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.Prompt(), kKeyInUse);
        QCOMPARE(dialog.CapturedCode(), 0);
        SendKey(dialog, kEvdevUp); // up's own key: accepted after all
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.CapturedCode(), 200);
    }

    void unknownKeysAreIgnoredAndEscapeCancels()
    {
        CCaptureDialog dialog(DefaultBindings(), GameControl::Up);
        dialog.show();
        QKeyEvent noScanCode(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, 0, 0);
        QCoreApplication::sendEvent(&dialog, &noScanCode);
        SendKey(dialog, 240); // a code the key table does not know
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.Prompt(), kPressKey);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.CapturedCode(), 0);
    }

    void tabAndEnterAreKeysLikeAnyOther()
    {
        // Dialogs use Tab and Enter themselves; here they must be captured.
        CCaptureDialog tab(ControlBindings(), GameControl::Up);
        tab.show();
        SendKey(tab, 15);
        QCOMPARE(tab.CapturedCode(), 15);
        CCaptureDialog enter(ControlBindings(), GameControl::Up);
        enter.show();
        SendKey(enter, 28);
        QCOMPARE(enter.CapturedCode(), 28);
    }
};

QT_TEST_CLASS(CaptureTest);
#include "CaptureTest.moc"
