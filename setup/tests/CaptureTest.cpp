// Capturing a key for one control: the rule, and the dialog fed with key
// events as the windowing system delivers them.

#include "TestSupport.h"
#include "setup/CCaptureDialog.h"
#include "setup/CKeyCapture.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kPressKey = QString::fromUtf8("Per favore premete il tasto desiderato");
const QString kKeyInUse = QString::fromUtf8("Il pulsante selezionato è già in uso, per favore scegliete ancora…");

// evdev codes of a few keys.
constexpr int kEvdevQ = 16, kEvdevRightShift = 54, kEvdevUp = 103, kEvdevRightCtrl = 97;

} // namespace

class CaptureTest : public QObject {
    Q_OBJECT
private slots:
    void theHiddenFifthButtonCountsAsBound()
    {
        ControlBindings bindings = DefaultBindings();
        bindings[Control::Button5] = 30;
        CKeyCapture capture(bindings, Control::Up);
        QCOMPARE(capture.Offer(30), CaptureStep::InUse);
    }

    void dialogShowsThePromptWithoutTitle()
    {
        CCaptureDialog dialog(DefaultBindings(), Control::Up);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString());
        QCOMPARE(dialog.Prompt(), kPressKey);
        QLabel* label = dialog.findChild<QLabel*>();
        QVERIFY(label);
        QVERIFY(label->alignment() & Qt::AlignHCenter);
    }

    void keyEventsAreMappedByPosition()
    {
        CCaptureDialog dialog(DefaultBindings(), Control::Jeep);
        dialog.show();
        SendKey(dialog, kEvdevQ, false); // a release is not a key press
        SendKey(dialog, kEvdevQ, true, true); // nor is an auto-repeat
        QVERIFY(dialog.isVisible());
        SendKey(dialog, kEvdevQ);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.CapturedCode(), 16);

        CCaptureDialog own(DefaultBindings(), Control::Jeep);
        own.show();
        SendKey(own, kEvdevRightCtrl); // the extended key's own code, 157
        QCOMPARE(own.result(), int(QDialog::Accepted));
        QCOMPARE(own.CapturedCode(), 157);
    }

    void aKeyInUseKeepsTheDialogOpenWithTheSecondPrompt()
    {
        CCaptureDialog dialog(DefaultBindings(), Control::Up);
        dialog.show();
        SendKey(dialog, kEvdevRightShift); // the binoculars' key
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
        CCaptureDialog dialog(DefaultBindings(), Control::Up);
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
        CCaptureDialog tab(ControlBindings(), Control::Up);
        tab.show();
        SendKey(tab, 15);
        QCOMPARE(tab.CapturedCode(), 15);
        CCaptureDialog enter(ControlBindings(), Control::Up);
        enter.show();
        SendKey(enter, 28);
        QCOMPARE(enter.CapturedCode(), 28);
    }
};

QT_TEST_CLASS(CaptureTest);
#include "CaptureTest.moc"
