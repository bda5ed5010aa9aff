// The five dialogs driven as a user would, headless: texts, what each shows,
// what each writes, and what a refused write does.

#include "TestSupport.h"
#include "setup/CAidsDialog.h"
#include "setup/CCaptureDialog.h"
#include "setup/CControlsDialog.h"
#include "setup/CDisplayDialog.h"
#include "setup/CMainDialog.h"
#include "setup/CModalDialogHost.h"
#include "setup/CSetupApp.h"
#include "setup/SetupLanguage.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QStringList kDefaultNames = {"UP", "DOWN", "LEFT", "RIGHT", "Spacebar", "Enter", "R Shift", "R Control"};

bool IsChecked(QWidget& dialog, const char* text)
{
    QAbstractButton* button = FindButton(dialog, U(text));
    return button && button->isCheckable() && button->isChecked();
}

constexpr const char* kRadarBox = "Radar: la preda in un colore tutto suo";
constexpr const char* kReticleBox = "Mirino nel punto in cui va il colpo";

QStringList ButtonTexts(QWidget& dialog)
{
    QStringList texts;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        texts << qttest::WithoutMnemonic(button->text());
    texts.sort();
    return texts;
}

// Every button is reached with Alt and a letter of its own.
void ExpectDistinctMnemonics(QWidget& dialog)
{
    QStringList letters;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        const QString text = button->text();
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        QVERIFY2(at >= 0 && at + 1 < text.size(), qPrintable("no mnemonic on \"" + text + "\""));
        const QString letter = text.mid(at + 1, 1).toLower();
        QVERIFY2(!letters.contains(letter), qPrintable("mnemonic " + letter + " twice in " + dialog.windowTitle()));
        letters << letter;
    }
}

// Every text of the dialog is shown whole: each widget gets at least the
// size it asks for, and lies inside the dialog.
void ExpectNothingClipped(QWidget& dialog)
{
    const QRect inside(QPoint(), dialog.size());
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        const QRect place(widget->mapTo(&dialog, QPoint()), widget->size());
        QVERIFY2(inside.contains(place), qPrintable(widget->objectName() + " outside " + dialog.windowTitle()));
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget)) {
            const QSize wanted = widget->hasHeightForWidth()
                                     ? QSize(0, widget->heightForWidth(widget->width()))
                                     : widget->minimumSizeHint().expandedTo(widget->sizeHint());
            QVERIFY2(widget->width() >= wanted.width() && widget->height() >= wanted.height(),
                     qPrintable(dialog.windowTitle() + ": \"" + widget->property("text").toString() + "\" is cut"));
        }
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            const int text = box->fontMetrics().horizontalAdvance(QStringLiteral("NUMPAD Enter"));
            QVERIFY2(box->width() > text + 8, "a key-name box is too narrow for the longest name");
        }
    }
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CGameFolder> m_folder;
    CScriptedHost m_host;

    std::string ConfigPath() const { return m_folder->ConfigPath(); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_folder = std::make_unique<CGameFolder>(m_dir->path().toStdString());
        m_host = CScriptedHost();
    }
    void cleanup()
    {
        QCOMPARE(m_host.unscripted, 0);
        QVERIFY2(m_host.scripts.empty(), "a dialog the test expected was not opened");
    }

    void captionsAndTextsAreTheItalianOnes()
    {
        CMainDialog main(*m_folder, m_host);
        QCOMPARE(main.windowTitle(), U("Configurazione del gioco"));
        QCOMPARE(ButtonTexts(main), (QStringList{"Aiuti alla caccia", "Configurazione dei controlli",
                                                 "Configurazione del display", "Lascia", "OK", "Reimposta i Trofei"}));
        auto* ok = qobject_cast<QPushButton*>(FindButton(main, "OK"));
        QVERIFY(ok && ok->isDefault());

        CDisplayDialog display(*m_folder, m_host);
        QCOMPARE(display.windowTitle(), U("Configurazione del display"));
        QCOMPARE(ButtonTexts(display), (QStringList{"Cancella", "Colori a 8-bit", "High Colour", "OK"}));
        QCOMPARE(display.findChildren<QGroupBox*>().size(), 1);

        CControlsDialog controls(ControlBindings(), *m_folder, m_host);
        QCOMPARE(controls.windowTitle(), U("Configurazione dei controlli"));
        QStringList expected = {"Arma", "Binocolo", "Cancella", "Default", "Destra", "Fuoco", U("Giù"),
                                "Jeep", "OK", "Sinistra", "Su"};
        expected.sort();
        QCOMPARE(ButtonTexts(controls), expected);
        QCOMPARE(controls.findChildren<QLineEdit*>().size(), 8);

        CAidsDialog aids(*m_folder, m_host);
        QCOMPARE(aids.windowTitle(), U("Aiuti alla caccia"));
        QCOMPARE(ButtonTexts(aids), (QStringList{"Cancella", U(kReticleBox), "OK", U(kRadarBox)}));
        QCOMPARE(aids.findChildren<QCheckBox*>().size(), 2);

        for (QDialog* dialog : std::initializer_list<QDialog*>{&main, &display, &controls, &aids})
            ExpectDistinctMnemonics(*dialog);
    }

    void keyNameBoxesLookReadOnly()
    {
        CControlsDialog controls(ControlBindings(), *m_folder, m_host);
        for (QLineEdit* box : controls.findChildren<QLineEdit*>()) {
            QVERIFY(box->isReadOnly());
            QCOMPARE(box->focusPolicy(), Qt::NoFocus);
            // Not the white of a field one types in, but the dialog's own colour.
            QCOMPARE(box->palette().color(QPalette::Base), controls.palette().color(QPalette::Window));
        }
    }

    void inEnglishEveryTextIsTranslatedAndShownWhole()
    {
        QTranslator translator;
        QVERIFY(UseSetupLanguage(SetupLanguage::English, translator));
        CMainDialog main(*m_folder, m_host);
        QCOMPARE(main.windowTitle(), QStringLiteral("Game Setup"));
        QCOMPARE(ButtonTexts(main),
                 (QStringList{"Controls Setup", "Display Setup", "Hunting Aids", "OK", "Quit", "Reset the Trophies"}));
        CDisplayDialog display(*m_folder, m_host);
        QCOMPARE(ButtonTexts(display), (QStringList{"8-bit Colour", "Cancel", "High Colour", "OK"}));
        CControlsDialog controls(ControlBindings(), *m_folder, m_host);
        QStringList expected = {"Binoculars", "Cancel", "Default", "Down", "Fire", "Jeep",
                                "Left",       "OK",     "Right",   "Up",   "Weapon"};
        expected.sort();
        QCOMPARE(ButtonTexts(controls), expected);
        CAidsDialog aids(*m_folder, m_host);
        QCOMPARE(aids.windowTitle(), QStringLiteral("Hunting Aids"));
        QCOMPARE(ButtonTexts(aids), (QStringList{"A mark where the shot goes", "Cancel", "OK",
                                                 "Radar: the quarry in a colour of its own"}));
        CCaptureDialog capture(DefaultBindings(), GameControl::Up);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&main, &display, &controls, &aids, &capture}) {
            dialog->show();
            ExpectNothingClipped(*dialog);
        }
        SendKey(capture, 54); // the longer prompt
        ExpectNothingClipped(capture);
        QVERIFY(UseSetupLanguage(SetupLanguage::Italian, translator));
    }

    void firstRunCreatesTheFileAndShowsTheDefaults()
    {
        m_host.scripts.push_back([](QDialog& main) {
            QCOMPARE(main.windowTitle(), U("Configurazione del gioco"));
            Click(main, U("Configurazione dei controlli"));
            Click(main, U("Configurazione del display"));
            Click(main, "Lascia");
        });
        m_host.scripts.push_back([](QDialog& controls) {
            QCOMPARE(KeyNamesShown(controls), kDefaultNames);
            Click(controls, "Cancella");
        });
        m_host.scripts.push_back([](QDialog& display) {
            // What the game does without the value: 8-bit.
            QVERIFY(!IsChecked(display, "High Colour"));
            QVERIFY(IsChecked(display, "Colori a 8-bit"));
            Click(display, "Cancella");
        });
        CSetupApp app(*m_folder, m_host);
        QCOMPARE(app.Run(), 0);
        QCOMPARE(ReadBytes(ConfigPath()), std::string("[configuration]"));
        QVERIFY(m_host.errors.isEmpty());
    }

    void upAndDownUnboundMeanAllDefaults()
    {
        WriteBytes(ConfigPath(), "[configuration]\nkeyup=0\nkeyleft=30\nkeybut0=44\n");
        CControlsDialog controls(ControlBindings(), *m_folder, m_host);
        QCOMPARE(KeyNamesShown(controls), kDefaultNames);
        // Only "up" bound: the stored keys are shown as they are.
        WriteBytes(ConfigPath(), "[configuration]\nkeyup=30\nkeydown=0\nkeyleft=84\nkeybut3=100000\n");
        CControlsDialog partial(ControlBindings(), *m_folder, m_host);
        // Unbound controls say so; a key without a name shows its code.
        QCOMPARE(KeyNamesShown(partial), (QStringList{"A", "(nessuno)", "Tasto 84", "(nessuno)", "(nessuno)",
                                                      "(nessuno)", "(nessuno)", "Tasto 100000"}));
        QCOMPARE(partial.Bindings()[GameControl::Jeep], 100000);
    }

    void theFifthButtonKeepsWhatItWasHanded()
    {
        ControlBindings handed;
        handed.keys = {1, 2, 3, 4, 5, 6, 7, 8};
        handed.button5 = 45;
        CControlsDialog controls(handed, *m_folder, m_host);
        QCOMPARE(controls.Bindings().button5, 45);
        QCOMPARE(controls.Bindings()[GameControl::Up], 200);
    }

    void cancelWritesNothing()
    {
        const std::string before = "[configuration]\r\nkeyup=200\r\nkeydown=208\r\n";
        WriteBytes(ConfigPath(), before);
        m_host.scripts.push_back([](QDialog& main) {
            Click(main, U("Configurazione dei controlli"));
            Click(main, "OK");
        });
        m_host.scripts.push_back([](QDialog& controls) {
            Click(controls, "Su");
            Click(controls, "Default");
            Click(controls, "Cancella");
        });
        m_host.scripts.push_back([](QDialog& capture) { SendKey(capture, 17); });
        CSetupApp app(*m_folder, m_host);
        app.Run();
        QCOMPARE(ReadBytes(ConfigPath()), before);
    }

    void okWritesTheEightKeys()
    {
        WriteBytes(ConfigPath(), "[configuration]");
        m_host.scripts.push_back([](QDialog& main) {
            Click(main, U("Configurazione dei controlli"));
            Click(main, "OK");
        });
        m_host.scripts.push_back([](QDialog& controls) {
            Click(controls, "Jeep");
            Click(controls, U("Giù"));
            QCOMPARE(KeyNamesShown(controls),
                     (QStringList{"UP", "S", "LEFT", "RIGHT", "Spacebar", "Enter", "R Shift", "L Control"}));
            Click(controls, "OK");
        });
        m_host.scripts.push_back([](QDialog& capture) {
            SendKey(capture, 29); // left Ctrl, pressed and released on its own
            SendKey(capture, 29, false);
        });
        m_host.scripts.push_back([](QDialog& capture) { SendKey(capture, 31); }); // S
        CSetupApp app(*m_folder, m_host);
        app.Run();
        QCOMPARE(ReadBytes(ConfigPath()),
                 std::string("[configuration]\r\nkeyup=200\r\nkeydown=31\r\nkeyleft=203\r\nkeyright=205\r\n"
                             "keybut0=57\r\nkeybut1=28\r\nkeybut2=54\r\nkeybut3=29\r\n"));
    }

    void displayChoiceRoundTrips()
    {
        WriteBytes(ConfigPath(), "[configuration]");
        auto choose = [this](const char* radio, const char* button) {
            m_host.scripts.push_back([radio, button](QDialog& display) {
                Click(display, U(radio));
                Click(display, U(button));
            });
            CDisplayDialog display(*m_folder, m_host);
            return m_host.Run(display);
        };
        QCOMPARE(choose("Colori a 8-bit", "OK"), int(QDialog::Accepted));
        QCOMPARE(ReadBytes(ConfigPath()), std::string("[configuration]\r\nhighcolour=0\r\n"));
        CDisplayDialog eightBit(*m_folder, m_host);
        QVERIFY(IsChecked(eightBit, "Colori a 8-bit"));
        QCOMPARE(choose("High Colour", "Cancella"), int(QDialog::Rejected));
        QCOMPARE(ReadBytes(ConfigPath()), std::string("[configuration]\r\nhighcolour=0\r\n"));
        QCOMPARE(choose("High Colour", "OK"), int(QDialog::Accepted));
        QCOMPARE(ReadBytes(ConfigPath()), std::string("[configuration]\r\nhighcolour=1\r\n"));
        CDisplayDialog high(*m_folder, m_host);
        QVERIFY(IsChecked(high, "High Colour"));
    }

    // Both aids start off; OK writes the boxes as they stand, Cancella
    // nothing, and the dialog shows what the file says.
    void aidsRoundTripAndStartOff()
    {
        WriteBytes(ConfigPath(), "[configuration]\r\nhighcolour=1\r\n");
        m_host.scripts.push_back([](QDialog& main) {
            Click(main, "Aiuti alla caccia");
            Click(main, "OK");
        });
        m_host.scripts.push_back([](QDialog& aids) {
            QVERIFY(!IsChecked(aids, kRadarBox));
            QVERIFY(!IsChecked(aids, kReticleBox));
            Click(aids, U(kRadarBox));
            Click(aids, "Cancella");
        });
        CSetupApp cancelled(*m_folder, m_host);
        cancelled.Run();
        QCOMPARE(ReadBytes(ConfigPath()), std::string("[configuration]\r\nhighcolour=1\r\n"));

        auto tick = [this](std::vector<const char*> boxes) {
            m_host.scripts.push_back([boxes](QDialog& aids) {
                for (const char* box : boxes)
                    Click(aids, U(box));
                Click(aids, "OK");
            });
            CAidsDialog aids(*m_folder, m_host);
            return m_host.Run(aids);
        };
        QCOMPARE(tick({kRadarBox}), int(QDialog::Accepted));
        QCOMPARE(ReadBytes(ConfigPath()),
                 std::string("[configuration]\r\nhighcolour=1\r\nquarryradar=1\r\naimreticle=0\r\n"));
        CAidsDialog radarOn(*m_folder, m_host);
        QVERIFY(IsChecked(radarOn, kRadarBox));
        QVERIFY(!IsChecked(radarOn, kReticleBox));
        QCOMPARE(tick({kRadarBox, kReticleBox}), int(QDialog::Accepted));
        QCOMPARE(m_folder->Config().Read().aids, (HuntAids{false, true}));
        QVERIFY(m_folder->Config().Read().highColour);
    }

    void trophiesGoOnlyAfterConfirmation()
    {
        const std::string record("\x02\0\0\0\x04\0\0\0\x07\0\0\0", 12);
        WriteBytes(m_folder->TrophyPath(), record);
        auto reset = [this] {
            m_host.scripts.push_back([](QDialog& main) { Click(main, "Reimposta i Trofei"); });
            CMainDialog main(*m_folder, m_host);
            m_host.Run(main);
        };
        m_host.answer = false;
        reset();
        QCOMPARE(m_host.questions, QStringList{"Reimposta i Trofei|Cancellare tutti i trofei?"});
        QCOMPARE(ReadBytes(m_folder->TrophyPath()), record);
        m_host.answer = true;
        reset();
        QVERIFY(!QFileInfo::exists(QString::fromStdString(m_folder->TrophyPath())));
        reset(); // nothing left to remove: nothing to tell either
        QVERIFY(m_host.errors.isEmpty());
        QVERIFY(QDir(m_dir->path()).mkpath("trophy.bin/x"));
        reset();
        QCOMPARE(m_host.errors.size(), 1);
        QVERIFY(m_host.errors[0].contains("trophy.bin"));
    }

    void anUnwritableFolderIsReportedAndNothingIsLost()
    {
        const std::string before = "[configuration]\r\nhighcolour=1\r\nkeyup=16\r\nkeydown=17\r\n";
        WriteBytes(ConfigPath(), before);
        CWriteRefusal refusal(m_dir->path());

        m_host.scripts.push_back([this](QDialog& display) {
            Click(display, "Colori a 8-bit");
            Click(display, "OK");
            QVERIFY(display.isVisible()); // still open with the user's choice
            QCOMPARE(m_host.errors.size(), 1);
            Click(display, "Cancella");
        });
        CDisplayDialog display(*m_folder, m_host);
        QCOMPARE(m_host.Run(display), int(QDialog::Rejected));

        m_host.scripts.push_back([this](QDialog& controls) {
            Click(controls, "Default");
            Click(controls, "OK");
            QVERIFY(controls.isVisible());
            QCOMPARE(m_host.errors.size(), 2);
            Click(controls, "Cancella");
        });
        CControlsDialog controls(ControlBindings(), *m_folder, m_host);
        QCOMPARE(m_host.Run(controls), int(QDialog::Rejected));

        m_host.scripts.push_back([this](QDialog& aids) {
            Click(aids, U(kReticleBox));
            Click(aids, "OK");
            QVERIFY(aids.isVisible());
            QCOMPARE(m_host.errors.size(), 3);
            QVERIFY(IsChecked(aids, kReticleBox));
            Click(aids, "Cancella");
        });
        CAidsDialog aids(*m_folder, m_host);
        QCOMPARE(m_host.Run(aids), int(QDialog::Rejected));

        QCOMPARE(ReadBytes(ConfigPath()), before);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"config.dat"}); // no temporaries left
        for (const QString& error : m_host.errors) {
            QVERIFY(error.startsWith(U("Impossibile salvare le impostazioni in")));
            QVERIFY(error.contains(QDir(m_dir->path()).absoluteFilePath("config.dat")));
        }
    }

    void aFirstRunThatCannotCreateTheFileSaysSo()
    {
        CWriteRefusal refusal(m_dir->path());
        m_host.scripts.push_back([](QDialog& main) { Click(main, "Lascia"); });
        CSetupApp app(*m_folder, m_host);
        QCOMPARE(app.Run(), 0);
        QCOMPARE(m_host.errors.size(), 1);
        QVERIFY(m_host.errors[0].startsWith(U("Impossibile creare")));
    }

    void messageBoxesHaveTheirCaptionIconAndButtons()
    {
        CModalDialogHost host;
        QString seen;
        QTimer::singleShot(0, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = box->windowTitle() + "|" + box->text();
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->accept();
        });
        host.ShowError(nullptr, "x");
        QCOMPARE(seen, QString("Error|x"));

        for (const char* pick : {"Si", "No"}) {
            QTimer::singleShot(0, [pick] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QCOMPARE(box->defaultButton()->text(), QString("No"));
                QCOMPARE(box->buttons().size(), 2);
                Click(*box, pick);
            });
            QCOMPARE(host.AskYesNo(nullptr, "Reimposta i Trofei", "?"), QString(pick) == "Si");
        }
    }

    void nothingIsClipped()
    {
        WriteBytes(ConfigPath(), "[configuration]");
        CMainDialog main(*m_folder, m_host);
        CDisplayDialog display(*m_folder, m_host);
        CControlsDialog controls(ControlBindings(), *m_folder, m_host);
        CAidsDialog aids(*m_folder, m_host);
        CCaptureDialog capture(DefaultBindings(), GameControl::Up);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&main, &display, &controls, &aids, &capture}) {
            dialog->show();
            ExpectNothingClipped(*dialog);
        }
        SendKey(capture, 54); // the longer prompt
        SendKey(capture, 54, false);
        ExpectNothingClipped(capture);
    }

    // Pictures of the five dialogs: each is drawn, whole and not one flat
    // colour. They are kept for people to look at in the folder
    // SETUP_SNAPSHOT_DIR names (else in a temporary one), in the language
    // SETUP_SNAPSHOT_LANG names ("it", the default, or "en"; the English ones
    // are called setup-en-*.png). On a real display (Xvfb) they are taken
    // from the screen, as drawn by the windowing system.
    void snapshots()
    {
        QTemporaryDir scratch;
        QString out = qEnvironmentVariable("SETUP_SNAPSHOT_DIR");
        if (out.isEmpty()) {
            QVERIFY(scratch.isValid());
            out = scratch.path();
        }
        SetupLanguage language = SetupLanguage::Italian;
        if (qEnvironmentVariableIsSet("SETUP_SNAPSHOT_LANG"))
            QVERIFY(ParseSetupLanguage(qEnvironmentVariable("SETUP_SNAPSHOT_LANG"), language));
        QTranslator translator;
        QVERIFY(UseSetupLanguage(language, translator));
        const QString prefix = language == SetupLanguage::English ? "setup-en-" : "setup-";
        WriteBytes(ConfigPath(), "[configuration]");
        CMainDialog main(*m_folder, m_host);
        CDisplayDialog display(*m_folder, m_host);
        CControlsDialog controls(ControlBindings(), *m_folder, m_host);
        CAidsDialog aids(*m_folder, m_host);
        CCaptureDialog capture(DefaultBindings(), GameControl::Up);
        CCaptureDialog inUse(DefaultBindings(), GameControl::Up);
        const std::pair<QDialog*, const char*> shots[] = {{&main, "main"},         {&display, "display"},
                                                          {&controls, "controls"}, {&aids, "aids"},
                                                          {&capture, "capture"},   {&inUse, "capture-in-use"}};
        for (const auto& [dialog, name] : shots) {
            dialog->show();
            if (dialog == &inUse) {
                SendKey(inUse, 54);
                SendKey(inUse, 54, false);
            }
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QTest::qWait(200);
            const bool offscreen = QGuiApplication::platformName() == "offscreen";
            const QPixmap picture =
                offscreen ? dialog->grab()
                          : dialog->screen()->grabWindow(0, dialog->x(), dialog->y(), dialog->frameGeometry().width(),
                                                         dialog->frameGeometry().height());
            const QImage image = picture.toImage();
            QVERIFY2(image.width() >= dialog->width() && image.height() >= dialog->height(), name);
            QSet<QRgb> colours; // texts, frames and ground: many colours, not a blank
            for (int y = 0; y < image.height(); y += 3)
                for (int x = 0; x < image.width(); x += 3)
                    colours.insert(image.pixel(x, y));
            QVERIFY2(colours.size() >= 4, name);
            QVERIFY(picture.save(QDir(out).filePath(prefix + name + ".png")));
            dialog->hide();
        }
        QVERIFY(UseSetupLanguage(SetupLanguage::Italian, translator));
    }
};

QT_TEST_CLASS(DialogsTest);
#include "DialogsTest.moc"
