// The window as a user meets it: binding the library, what each click changes, what the browse
// buttons fill in, and what the remove command says and writes.
#include <dlfcn.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QtTest>
#include <fstream>

#include "Application.h"
#include "Form1.h"
#include "fill_number.h"
#include "test_images.h"

using quillet::test::Bytes;
namespace fs = std::filesystem;

namespace {

// The palette colours that stand for the system colours 0 (scroll bar), 4 (menu) and 15 (button
// face) while the tests run, so that each box's colour is a known number.
constexpr QRgb kScrollBar = 0xFF101010;
constexpr QRgb kMenu = 0xFF404040;
constexpr QRgb kButtonFace = 0xFFF0F0F0;
constexpr QRgb kWhite = 0xFFFFFFFF;

using quillet::test::kGame;

const char* const kAddMode = "Sorry, adding an intro is not supported yet!";
const char* const kPosition =
    "Sorry, only removing intros from the end of the file is currently supported.";
const char* const kExtent =
    "Sorry, only deleting everything from the start of the intro to the end of the file is "
    "currently supported.";

// A click of the remove command after clicks on options (their names, separated by blanks).
struct RemoveRow {
    const char* name;
    const char* clicks;
    const char* input;
    const char* output;
    const char* fillText;
    const char* message;
    int written;  // the output's fill byte, -1 for a cut, -2 for no output
};

const RemoveRow kRemoveRows[] = {
    {"add mode", "Option1_0", "game.gba", "o", "0", kAddMode, -2},
    {"add mode first", "Option2_1 Option3_1 Option1_0", "game.gba", "o", "0", kAddMode, -2},
    {"at address", "Option2_1", "game.gba", "o", "0", kPosition, -2},
    {"position before extent", "Option3_1 Option2_1", "game.gba", "o", "0", kPosition, -2},
    {"bytes to delete", "Option3_1", "game.gba", "o", "0", kExtent, -2},
    {"0xFF fill", "", "game.gba", "Pokémon Édition.gba", "not read", "Done!", 0xFF},
    {"cut", "Option4_0", "game.gba", "o", "not read", "Done!", -1},
    {"manual fill", "Option4_2", "game.gba", "o", " 0x10 apples", "Done!", 0x10},
    {"manual fill out of range", "Option4_2", "game.gba", "game.gba", "32767.5",
     "The fill value must be a whole number from -32768 to 32767.", -2},
    {"output is the input", "", "game.gba", "./game.gba", "0",
     "The output file must not be the input file.", -2},
    {"start names", "", "Original filename", "Output Filename", "0", "Input file not found!", -2},
    {"empty input", "", "", "o", "0", "Input file not found!", -2},
    {"cut past the end", "Option4_0", "broken.gba", "o", "0",
     "No intro found: the entry branch points past the end of the file!", -2},
    {"no intro", "", "plain.gba", "o", "0",
     "No intro to remove: the entry branch is already the standard one.", -2},
    {"branch into the header", "", "header.gba", "o", "0",
     "No intro to remove: the entry branch points inside the header.", -2},
    {"no image", "", "text.txt", "o", "0",
     "This is not a Game Boy Advance image: it does not begin with a branch instruction.", -2},
    {"folder", "", "folder.gba", "o", "0", "Input file could not be opened: Is a directory.", -2}};

// Clicks on options, then the colours of Text2, Text4, Text5 and Text6; white means enabled.
struct ClickRow {
    const char* clicks;
    QRgb text2, text4, text5, text6;
};

const ClickRow kClickRows[] = {
    {"", kMenu, kScrollBar, kButtonFace, kMenu},
    {"Option1_0", kWhite, kScrollBar, kButtonFace, kMenu},
    {"Option1_0 Option1_1", kScrollBar, kScrollBar, kButtonFace, kMenu},
    {"Option3_1 Option1_0 Option1_1", kScrollBar, kScrollBar, kWhite, kMenu},
    {"Option2_1", kMenu, kWhite, kButtonFace, kMenu},
    {"Option2_1 Option2_0", kMenu, kScrollBar, kButtonFace, kMenu},
    {"Option3_1 Option3_0", kMenu, kScrollBar, kScrollBar, kMenu},
    {"Option4_2", kMenu, kScrollBar, kButtonFace, kWhite},
    {"Option4_2 Option4_0", kMenu, kScrollBar, kButtonFace, kScrollBar},
    {"Option4_2 Option4_1", kMenu, kScrollBar, kButtonFace, kScrollBar}};

// Answers every dialog as soon as it shows: a message box is read and closed with OK, a file
// dialog gets the test's answer or is cancelled. A dialog that no test expects fails the test.
class Dialogs : public QObject {
  public:
    using QObject::QObject;

    bool expected = false;
    QStringList messages;     // text, title, icon, buttons and font of each message box
    QStringList fileDialogs;  // modes, folder and selected name of each file dialog
    QString fileAnswer;       // empty: cancel

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog != nullptr && event->type() == QEvent::Show) {
            QMetaObject::invokeMethod(
                this, [this, dialog] { answer(dialog); }, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    void answer(QDialog* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (!expected) {
            QTest::qFail(qPrintable("unexpected dialog: " + (box ? box->text() : QString())),
                         __FILE__, __LINE__);
        } else if (box != nullptr) {
            messages << QStringLiteral("%1|%2|%3|%4 %5|%6 %7")
                            .arg(box->text(), box->windowTitle())
                            .arg(box->icon())
                            .arg(box->buttons().size())
                            .arg(box->buttons()[0]->icon().isNull() ? "plain" : "with icon")
                            .arg(box->font().family())
                            .arg(box->font().pointSize());
            // A question before replacing a file is answered yes.
            if (box->button(QMessageBox::Yes) != nullptr) {
                return box->button(QMessageBox::Yes)->click();
            }
        } else if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
            const QFileInfo selected(files->selectedFiles().value(0));
            fileDialogs << QStringLiteral("%1 %2 %3|%4")
                               .arg(files->acceptMode())
                               .arg(files->fileMode())
                               .arg(files->directory().dirName(),
                                    selected.isFile() ? selected.fileName() : QString());
            if (!fileAnswer.isEmpty()) {
                files->selectFile(fileAnswer);
                return dialog->accept();
            }
        }
        dialog->reject();
    }
};

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

  private:
    template <typename Widget = QWidget>
    Widget* control(const QString& name) const {
        return form->findChild<Widget*>(name);
    }
    QLineEdit* box(const QString& name) const { return control<QLineEdit>(name); }
    void click(const QString& names) const {
        for (const QString& name : names.split(u' ', Qt::SkipEmptyParts)) {
            QTest::mouseClick(control(name), Qt::LeftButton);
        }
    }
    // The message boxes that clicking name shows.
    QStringList messagesOfClick(const QString& name) {
        dialogs->messages.clear();
        dialogs->expected = true;
        click(name);
        dialogs->expected = false;
        return dialogs->messages;
    }
    // A message box as the window must show it: modal, one OK button, no icon, titled quillet,
    // in the window's own face and size.
    static QStringList shown(const QString& text) {
        return {text + "|quillet|" + QString::number(QMessageBox::NoIcon) +
                "|1 plain|Liberation Sans 8"};
    }
    // Types both names as a user would: the output last, so that Text1's loss of focus does not
    // derive it again.
    void setNames(const QString& input, const QString& output) const {
        control("Command1")->setFocus();
        box("Text1")->setText(input);
        box("Text3")->setText(output);
    }
    static fs::path programFolder() { return QCoreApplication::applicationDirPath().toStdString(); }
    static bool libraryLoaded() {
        void* handle = dlopen(QUILLET_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_NOLOAD);
        return handle != nullptr && dlclose(handle) == 0;
    }

    Dialogs* dialogs = new Dialogs(this);
    std::unique_ptr<quillet::Form1> form;
    std::unique_ptr<quillet::test::ScratchFolder> folder;

  private slots:
    void initTestCase() {
        qApp->installEventFilter(dialogs);
        fs::remove(programFolder() / QUILLET_LIBRARY_FILE_NAME);
        fs::remove_all(programFolder() / QUILLET_LIBRARY_FOLDER_FROM_PROGRAM);
    }
    void init() {
        // The window works in the scratch folder, so that relative names land there.
        folder = std::make_unique<quillet::test::ScratchFolder>(true);
        QDir::setCurrent(QString::fromStdString(folder->path().string()));
        dialogs->messages.clear();
        form = std::make_unique<quillet::Form1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        form.reset();
        QDir::setCurrent(QDir::tempPath());
        folder.reset();
    }

    // Runs first: it leaves the library beside the program for the tests after it.
    void theLibraryIsBoundAtTheFirstClickThatNeedsIt() {
        setNames("game.gba", "game.gba");
        QCOMPARE(messagesOfClick("Command1"), shown("The output file must not be the input file."));
        QVERIFY(!libraryLoaded());

        const fs::path beside = programFolder() / QUILLET_LIBRARY_FILE_NAME;
        const QString expected = "The library " QUILLET_LIBRARY_FILE_NAME
                                 " could not be loaded.\n\nIt was expected in " +
                                 QCoreApplication::applicationDirPath();
        setNames("game.gba", "game-p.gba");
        QCOMPARE(messagesOfClick("Command1"), shown(expected + ", but it is not there."));
        // A file that is there but no library: the loader says why.
        std::ofstream(beside) << "not a library";
        const QStringList broken = messagesOfClick("Command1");
        QVERIFY2(broken.value(0).startsWith(expected + ".\n\nCannot load library " +
                                            beside.c_str()),
                 qPrintable(broken.join(u'\n')));
        fs::remove(beside);

        // A library without the function, in the library folder of an installation, then the
        // right one in its place.
        const fs::path installed =
            programFolder() / QUILLET_LIBRARY_FOLDER_FROM_PROGRAM / QUILLET_LIBRARY_FILE_NAME;
        fs::create_directory(installed.parent_path());
        fs::copy_file(QUILLET_LIBRARY_WITHOUT_FUNCTIONS, installed);
        QCOMPARE(messagesOfClick("Command1"),
                 shown(QStringLiteral("The library %1 has no function RemoveIntroAuto.")
                           .arg(fs::canonical(installed).c_str())));
        QVERIFY(!libraryLoaded() && !fs::exists(folder->path("game-p.gba")));
        fs::copy_file(QUILLET_LIBRARY_PATH, installed, fs::copy_options::overwrite_existing);
        QCOMPARE(messagesOfClick("Command1"), shown("Done!"));
        QVERIFY(libraryLoaded());

        // Bound for good: the file may go, the function found stays.
        fs::rename(installed, folder->path("moved.so"));
        fs::remove(folder->path("game-p.gba"));
        QCOMPARE(messagesOfClick("Command1"), shown("Done!"));
        QCOMPARE(folder->read("game-p.gba"), quillet::test::removed(kGame, '\xFF'));
        fs::rename(folder->path("moved.so"), installed);
    }

    void aFailureInsideAHandlerIsShownAndTheProgramGoesOn() {
        struct Throwing : QObject {
            bool event(QEvent*) override { throw std::runtime_error("the handler failed"); }
        } failing;
        QEvent event(QEvent::User);
        dialogs->messages.clear();
        dialogs->expected = true;
        QCOMPARE(QApplication::sendEvent(&failing, &event), false);
        dialogs->expected = false;
        QCOMPARE(dialogs->messages, shown("the handler failed"));
    }

    void clicksSetTheValueBoxes_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kClickRows)); ++row) {
            QTest::newRow(kClickRows[row].clicks) << row;
        }
    }
    void clicksSetTheValueBoxes() {
        QFETCH(int, row);
        const ClickRow& r = kClickRows[row];
        control("Command1")->setFocus();
        const QString texts = box("Text1")->text() + box("Text3")->text() + box("Text6")->text();
        click(r.clicks);
        const std::pair<const char*, QRgb> colors[] = {
            {"Text2", r.text2}, {"Text4", r.text4}, {"Text5", r.text5}, {"Text6", r.text6}};
        for (const auto& [name, color] : colors) {
            QCOMPARE(box(name)->palette().color(QPalette::Base).rgba(), color);
            QCOMPARE(box(name)->isEnabled(), color == kWhite);
        }
        QCOMPARE(box("Text1")->text() + box("Text3")->text() + box("Text6")->text(), texts);
    }

    void modeGroupSwitchesCaptionsAndControls() {
        const auto mode = [this] {
            return QStringLiteral("%1|%2|%3 %4%5%6%7")
                .arg(control<QPushButton>("Command1")->text(),
                     control<QRadioButton>("Option2_0")->text(),
                     control<QRadioButton>("Option2_1")->text())
                .arg(control("Frame2")->isVisible())
                .arg(box("Text5")->isVisible())
                .arg(control("Command2_1")->isEnabled())
                .arg(control<QRadioButton>("Option2_0")->isChecked());
        };
        const QString removeMode =
            "Remove Intro|Remove from end of file|Remove intro at address: 1101";
        QCOMPARE(mode(), removeMode);
        click("Option1_0");
        QCOMPARE(mode(), "Add Intro|Add from end of file|Add intro at address: 0011");
        click("Option1_1");
        QCOMPARE(mode(), removeMode);
        control("Option4_1")->setFocus();
        QTest::keyClick(control("Option4_1"), Qt::Key_Down);
        QVERIFY(box("Text6")->isEnabled());
    }

    void applicationNameVersionAndIcon() {
        QCOMPARE(QApplication::applicationName(), QStringLiteral("quillet"));
        QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.00"));
        QCOMPARE(form->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    }

    void captionsAreNotClipped() {
        for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
            QCOMPARE(QFontInfo(button->font()).family(), QStringLiteral("Liberation Sans"));
            int visibleWidth = button->width();
            for (const char* name : {"Text4", "Text5", "Text6"}) {
                // The value box level with an option lies in front of its right end.
                const QPoint boxStart = button->mapFrom(form.get(), box(name)->pos());
                if (button->rect().contains(boxStart + QPoint(0, box(name)->height() / 2))) {
                    visibleWidth = boxStart.x();
                }
            }
            // Where the caption starts: behind an option's indicator, or a push button's margin.
            QStyleOptionButton option;
            option.initFrom(button);
            const int start =
                qobject_cast<QRadioButton*>(button) == nullptr
                    ? 4
                    : button->style()
                          ->subElementRect(QStyle::SE_RadioButtonContents, &option, button)
                          .left();
            const int width = button->fontMetrics().horizontalAdvance(button->text().trimmed());
            QVERIFY2(start + width <= visibleWidth, qPrintable(button->objectName()));
        }
    }

    void leavingTheInputBoxDerivesTheOutputName_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::addColumn<QString>("output");
        QTest::newRow("tab") << "/roms/game.eu.gba" << Qt::TabFocusReason << "/roms/game-p.eu.gba";
        QTest::newRow("backtab") << R"(C:\my.roms\game)" << Qt::BacktabFocusReason
                                 << R"(C:\my.roms\game-p)";
        QTest::newRow("mouse") << "" << Qt::MouseFocusReason << "-p";
        QTest::newRow("other") << "a.b/c\\d.e" << Qt::OtherFocusReason << "a.b/c\\d-p.e";
        QTest::newRow("another window") << "a.b" << Qt::ActiveWindowFocusReason << "kept.gba";
        QTest::newRow("popup") << "a.b" << Qt::PopupFocusReason << "kept.gba";
    }
    void leavingTheInputBoxDerivesTheOutputName() {
        QFETCH(QString, input);
        QFETCH(Qt::FocusReason, reason);
        QFETCH(QString, output);
        setNames(input, QStringLiteral("kept.gba"));
        QFocusEvent focusOut(QEvent::FocusOut, reason);
        QApplication::sendEvent(box("Text1"), &focusOut);
        QCOMPARE(box("Text3")->text(), output);
    }

    void browseButtonsFillTheirBoxes() {
        const QString game = QString::fromStdString(folder->path("game.gba").string());
        const QString other = QString::fromStdString(folder->path("other.gba").string());
        const auto browse = [this](const char* button, const QString& answer) {
            dialogs->fileAnswer = answer;
            dialogs->expected = true;
            click(button);
            dialogs->expected = false;
            return box("Text1")->text() + '|' + box("Text2")->text() + '|' + box("Text3")->text();
        };
        // A cancel reports the name in the box, which keeps it.
        QCOMPARE(browse("Command2_0", {}), "Original filename|Intro filename|Original filename-p");
        const QString gameOutput = folder->path("game-p.gba").c_str();
        QCOMPARE(browse("Command2_0", game), game + "|Intro filename|" + gameOutput);
        QCOMPARE(browse("Command2_2", {}), game + "|Intro filename|" + gameOutput);
        QCOMPARE(browse("Command2_2", other), game + "|Intro filename|" + other);
        QCOMPARE(browse("Command2_0", {}), game + "|Intro filename|" + gameOutput);
        click("Option1_0");
        QCOMPARE(browse("Command2_1", game), game + '|' + game + '|' + gameOutput);
        // Each opens on the file in its box: its folder (here all the working folder), and its
        // name when it exists.
        const QString here = QDir::current().dirName();
        QCOMPARE(dialogs->fileDialogs,
                 (QStringList{"0 1 " + here + "|", "0 1 " + here + "|", "1 0 " + here + "|",
                              "1 0 " + here + "|", "0 1 " + here + "|game.gba",
                              "0 1 " + here + "|"}));
        // Qt's question before replacing other.gba.
        QCOMPARE(dialogs->messages.size(), 1);
    }

    void manualFillNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        const char* const numbers[][2] = {
            {"0", "0"},           {"255", "255"},  {"", "0"},        {"abc", "0"},
            {"-1", "-1"},         {"+7", "7"},     {" \t 12", "12"}, {"12abc", "12"},
            {"1 2", "1"},         {"0x10", "16"},  {"0XfF", "255"},  {"-0x10", "-16"},
            {"0x", "0"},          {"0x1g", "1"},   {"0xA", "10"},    {"0x0F", "15"},
            {"5.", "5"},          {".e9", "0"},    {"2.5", "2"},     {"3.5", "4"},
            {"-0.5", "0"},        {"2.51", "3"},   {".75", "1"},     {".", "0"},
            {"1e3", "1000"},      {"25E-1", "2"},  {"7e", "7"},      {"32767", "32767"},
            {"-32768", "-32768"}, {"1e-400", "0"}, {"-1e-400", "0"}};
        for (const auto& [text, number] : numbers) {
            QTest::newRow(text) << QString(text) << QString(number);
        }
        QTest::newRow("-32768.5") << "-32768.5"
                                  << "-32768";
        QTest::newRow("tiny fraction") << "0." + QString(330, u'0') + "1"
                                       << "0";
        QTest::newRow("endless exponent") << "1e-99999999999999999999999"
                                          << "0";
        // Out of -32768 to 32767.
        for (const char* text : {"32768", "32767.5", "-32769", "0x8000", "1e400", ".5e400"}) {
            QTest::newRow(text) << QString(text) << "refused";
        }
        QTest::newRow("huge mantissa") << QString(400, u'9') << "refused";
        QTest::newRow("endless positive exponent") << "1e99999999999999999999999"
                                                   << "refused";
    }
    void manualFillNumber() {
        QFETCH(QString, text);
        QFETCH(QString, number);
        const std::optional<qint16> result = quillet::manualFillNumber(text);
        QCOMPARE(result ? QString::number(*result) : "refused", number);
    }

    void removeCommandSaysWhatHappened_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kRemoveRows)); ++row) {
            QTest::newRow(kRemoveRows[row].name) << row;
        }
    }
    void removeCommandSaysWhatHappened() {
        QFETCH(int, row);
        const RemoveRow& r = kRemoveRows[row];
        const auto before = folder->snapshot();
        click(r.clicks);
        setNames(QString::fromUtf8(r.input), QString::fromUtf8(r.output));
        box("Text6")->setText(r.fillText);
        QCOMPARE(messagesOfClick("Command1"), shown(QString::fromUtf8(r.message)));
        QCOMPARE(folder->read("game.gba"), kGame);
        if (r.written == -2) {
            QCOMPARE(folder->snapshot(), before);
        } else {
            QCOMPARE(folder->read(r.output),
                     quillet::test::removed(
                         kGame, r.written < 0 ? std::nullopt : std::optional(char(r.written))));
        }
    }
};

int main(int argc, char** argv) {
    quillet::Application application(argc, argv);
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Midlight, kScrollBar);
    palette.setColor(QPalette::Window, kMenu);
    palette.setColor(QPalette::Button, kButtonFace);
    QApplication::setPalette(palette);
    Form1Test test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "form1_test.moc"
