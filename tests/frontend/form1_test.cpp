// The window as a user meets it: what it shows at start, what each click changes, and what the
// remove command says and writes.
#include <QButtonGroup>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QtTest>

#include "Application.h"
#include "Form1.h"
#include "colors.h"
#include "modal_answerer.h"
#include "test_images.h"

using quillet::Form1;
using quillet::test::ModalAnswerer;

namespace {

constexpr quint32 kMenuColor = 0x80000004;
constexpr quint32 kButtonFaceColor = 0x8000000F;

const char* const kOptionNames[] = {"Option1_0", "Option1_1", "Option2_0", "Option2_1", "Option3_0",
                                    "Option3_1", "Option4_0", "Option4_1", "Option4_2"};

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

  private:
    template <typename Widget = QWidget>
    Widget* control(const char* name) const {
        auto* widget = form->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no control %s", name);
        }
        return widget;
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    QRadioButton* option(const char* name) const { return control<QRadioButton>(name); }
    QButtonGroup* group(const char* name) const { return control<QButtonGroup>(name); }

    // The names of the selected options, in form order.
    QStringList selectedOptions() const {
        QStringList selected;
        for (const char* name : kOptionNames) {
            if (option(name)->isChecked()) {
                selected << QString::fromLatin1(name);
            }
        }
        return selected;
    }
    quint32 backColor(const char* name) const { return box(name)->property("backColor").toUInt(); }
    void checkBoxState(const char* name, bool enabled, quint32 color) const {
        QCOMPARE(box(name)->isEnabled(), enabled);
        QCOMPARE(backColor(name), color);
        QCOMPARE(box(name)->palette().color(QPalette::Base), quillet::colorFromValue(color));
    }
    // Runs a click of Command1 and returns the messages it showed.
    QStringList clickRemove() const {
        ModalAnswerer answerer;
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        return answerer.messageTexts();
    }
    // Types both names as a user would: the output last, so that Text1's loss of focus does not
    // derive it again.
    void setNames(const QString& input, const QString& output) const {
        control("Command1")->setFocus();
        box("Text1")->setText(input);
        box("Text3")->setText(output);
    }

    std::unique_ptr<Form1> form;
    std::unique_ptr<quillet::test::ScratchFolder> folder;

  private slots:
    void init() {
        form = std::make_unique<Form1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        folder = std::make_unique<quillet::test::ScratchFolder>();
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    void startState_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        // Twips divided by 15, relative to the window or to the frame that holds the control.
        QTest::newRow("Text1") << "Text1" << QRect(8, 16, 209, 25) << "Original filename" << true;
        QTest::newRow("Text2") << "Text2" << QRect(8, 56, 209, 25) << "Intro filename" << false;
        QTest::newRow("Command1") << "Command1" << QRect(8, 88, 73, 33) << "Remove Intro" << true;
        QTest::newRow("Text3") << "Text3" << QRect(8, 296, 209, 25) << "Output Filename" << true;
        QTest::newRow("Option1_0") << "Option1_0" << QRect(88, 88, 65, 17) << "Add Intro" << true;
        QTest::newRow("Option1_1")
            << "Option1_1" << QRect(88, 104, 89, 17) << "Remove Intro" << true;
        QTest::newRow("Frame1") << "Frame1" << QRect(8, 136, 145, 33) << "" << true;
        QTest::newRow("Option2_0")
            << "Option2_0" << QRect(0, 0, 145, 17) << "Remove from end of file" << true;
        QTest::newRow("Option2_1")
            << "Option2_1" << QRect(0, 16, 145, 17) << "Remove intro at address:" << true;
        QTest::newRow("Text4") << "Text4" << QRect(152, 152, 121, 19) << "8372224" << false;
        QTest::newRow("Frame2") << "Frame2" << QRect(8, 184, 217, 33) << "" << true;
        QTest::newRow("Option3_0") << "Option3_0" << QRect(0, 0, 217, 17)
                                   << "Delete everything after intro address" << true;
        QTest::newRow("Option3_1")
            << "Option3_1" << QRect(0, 16, 217, 17) << "Number of bytes to delete:" << true;
        QTest::newRow("Text5") << "Text5" << QRect(160, 200, 113, 19) << "32768" << false;
        QTest::newRow("Command2_0") << "Command2_0" << QRect(224, 16, 49, 25) << "Browse" << true;
        QTest::newRow("Command2_1") << "Command2_1" << QRect(224, 56, 49, 25) << "Browse" << false;
        QTest::newRow("Command2_2") << "Command2_2" << QRect(224, 296, 49, 25) << "Browse" << true;
        QTest::newRow("Frame3") << "Frame3" << QRect(8, 232, 249, 49) << "" << true;
        QTest::newRow("Option4_0") << "Option4_0" << QRect(0, 0, 249, 17)
                                   << "Don't fill in space covered with intros" << true;
        QTest::newRow("Option4_1")
            << "Option4_1" << QRect(0, 16, 249, 17) << "Fill in space covered with 0xFFs" << true;
        QTest::newRow("Option4_2")
            << "Option4_2" << QRect(0, 32, 249, 17) << "Fill in space covered manually: " << true;
        QTest::newRow("Text6") << "Text6" << QRect(176, 264, 97, 19) << "0" << false;
    }
    void startState() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QWidget* widget = control(qPrintable(name));
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->isEnabled(), enabled);
        QVERIFY(widget->isVisible());
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QCOMPARE(button->text(), text);
        } else if (auto* lineEdit = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(lineEdit->text(), text);
        } else {
            auto* frame = qobject_cast<QFrame*>(widget);
            QVERIFY(frame != nullptr);
            QCOMPARE(frame->frameShape(), QFrame::NoFrame);
        }
    }

    void startWindow() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Quillet"));
        QCOMPARE(form->size(), QSize(278, 336));
        QCOMPARE(selectedOptions(),
                 (QStringList{"Option1_1", "Option2_0", "Option3_0", "Option4_1"}));
        QCOMPARE(backColor("Text2"), kMenuColor);
        QCOMPARE(backColor("Text4"), quillet::kScrollBarColor);
        QCOMPARE(backColor("Text5"), kButtonFaceColor);
        QCOMPARE(backColor("Text6"), kMenuColor);
        QCOMPARE(box("Text2")->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Window));
        QCOMPARE(box("Text5")->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Button));
        QCOMPARE(box("Text1")->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Base));
        QCOMPARE(QApplication::focusWidget(), box("Text1"));
    }

    void applicationNameVersionAndIcon() {
        QCOMPARE(QApplication::applicationName(), QStringLiteral("quillet"));
        QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.00"));
        QCOMPARE(form->windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    }

    void controlArraysAreIndexed() {
        for (const char* name : {"Option1", "Option2", "Option3", "Option4", "Command2"}) {
            const QList<QAbstractButton*> members = group(name)->buttons();
            QVERIFY(members.size() >= 2);
            for (QAbstractButton* member : members) {
                QCOMPARE(member->objectName(),
                         QStringLiteral("%1_%2").arg(name).arg(group(name)->id(member)));
            }
        }
    }

    void tabOrder() {
        const QStringList expected{"Text1",      "Text2",      "Command1",   "Text3",
                                   "Option1_0",  "Option1_1",  "Option2_0",  "Option2_1",
                                   "Text4",      "Option3_0",  "Option3_1",  "Text5",
                                   "Command2_0", "Command2_1", "Command2_2", "Option4_0",
                                   "Option4_1",  "Option4_2",  "Text6"};
        QStringList chain;
        QWidget* widget = box("Text1");
        do {
            chain << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != box("Text1") && chain.size() < 100);
        chain.removeIf([&](const QString& name) { return !expected.contains(name); });
        QCOMPARE(chain, expected);
    }

    void captionsAreNotClipped() {
        for (QRadioButton* button : form->findChildren<QRadioButton*>()) {
            QStyleOptionButton styleOption;
            styleOption.initFrom(button);
            const int textStart =
                button->style()
                    ->subElementRect(QStyle::SE_RadioButtonContents, &styleOption, button)
                    .left();
            const int textWidth = button->fontMetrics().horizontalAdvance(button->text().trimmed());
            int visibleWidth = button->width();
            for (const char* name : {"Text4", "Text5", "Text6"}) {
                const QRect boxInButton(button->mapFrom(form.get(), box(name)->pos()),
                                        box(name)->size());
                // The box level with the option lies in front of its right end.
                if (boxInButton.intersects(button->rect()) &&
                    button->rect().contains(boxInButton.left(), boxInButton.center().y())) {
                    visibleWidth = boxInButton.left();
                }
            }
            QVERIFY2(textStart + textWidth <= visibleWidth,
                     qPrintable(QStringLiteral("%1: %2 + %3 > %4")
                                    .arg(button->objectName())
                                    .arg(textStart)
                                    .arg(textWidth)
                                    .arg(visibleWidth)));
        }
        for (QPushButton* button : form->findChildren<QPushButton*>()) {
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 4 <= button->width(),
                     qPrintable(button->objectName()));
        }
    }

    void modeGroupSwitchesToAddModeAndBack() {
        QTest::mouseClick(option("Option1_0"), Qt::LeftButton);
        QCOMPARE(selectedOptions(),
                 (QStringList{"Option1_0", "Option2_0", "Option3_0", "Option4_1"}));
        checkBoxState("Text2", true, quillet::kWhite);
        QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("Add Intro"));
        QCOMPARE(option("Option2_0")->text(), QStringLiteral("Add from end of file"));
        QCOMPARE(option("Option2_1")->text(), QStringLiteral("Add intro at address:"));
        QVERIFY(!control("Frame2")->isVisible());
        QVERIFY(!box("Text5")->isVisible());
        QVERIFY(control("Command2_1")->isEnabled());
        checkBoxState("Text4", false, quillet::kScrollBarColor);
        checkBoxState("Text6", false, kMenuColor);

        QTest::mouseClick(option("Option1_1"), Qt::LeftButton);
        QCOMPARE(selectedOptions(),
                 (QStringList{"Option1_1", "Option2_0", "Option3_0", "Option4_1"}));
        checkBoxState("Text2", false, quillet::kScrollBarColor);
        QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("Remove Intro"));
        QCOMPARE(option("Option2_0")->text(), QStringLiteral("Remove from end of file"));
        QCOMPARE(option("Option2_1")->text(), QStringLiteral("Remove intro at address:"));
        QVERIFY(control("Frame2")->isVisible());
        QVERIFY(box("Text5")->isVisible());
        QVERIFY(!control("Command2_1")->isEnabled());
        checkBoxState("Text5", false, kButtonFaceColor);
    }

    void extentGroupAndText5SurviveAddMode() {
        QTest::mouseClick(option("Option3_1"), Qt::LeftButton);
        checkBoxState("Text5", true, quillet::kWhite);
        QTest::mouseClick(option("Option1_0"), Qt::LeftButton);
        QTest::mouseClick(option("Option1_1"), Qt::LeftButton);
        QVERIFY(option("Option3_1")->isChecked());
        QVERIFY(box("Text5")->isVisible());
        checkBoxState("Text5", true, quillet::kWhite);
    }

    void valueBoxesFollowTheirOption_data() {
        QTest::addColumn<QString>("optionName");
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("at address") << "Option2_1"
                                    << "Text4" << true;
        QTest::newRow("end of file") << "Option2_0"
                                     << "Text4" << false;
        QTest::newRow("bytes to delete") << "Option3_1"
                                         << "Text5" << true;
        QTest::newRow("everything after") << "Option3_0"
                                          << "Text5" << false;
        QTest::newRow("manual fill") << "Option4_2"
                                     << "Text6" << true;
        QTest::newRow("no fill") << "Option4_0"
                                 << "Text6" << false;
        QTest::newRow("0xFF fill") << "Option4_1"
                                   << "Text6" << false;
    }
    void valueBoxesFollowTheirOption() {
        QFETCH(QString, optionName);
        QFETCH(QString, boxName);
        QFETCH(bool, enabled);
        const QByteArray boxKey = boxName.toLatin1();
        // Select another member first, so that the click selects and every row changes state.
        QButtonGroup* members = option(qPrintable(optionName))->group();
        QAbstractButton* other = members->buttons().constLast() == option(qPrintable(optionName))
                                     ? members->buttons().constFirst()
                                     : members->buttons().constLast();
        QTest::mouseClick(other, Qt::LeftButton);
        QTest::mouseClick(option(qPrintable(optionName)), Qt::LeftButton);
        QVERIFY(option(qPrintable(optionName))->isChecked());
        checkBoxState(boxKey, enabled, enabled ? quillet::kWhite : quillet::kScrollBarColor);
    }

    void keyboardSelectionRunsTheHandler() {
        option("Option4_1")->setFocus();
        QTest::keyClick(option("Option4_1"), Qt::Key_Down);
        QVERIFY(option("Option4_2")->isChecked());
        checkBoxState("Text6", true, quillet::kWhite);
    }

    void clicksChangeNoBoxText() {
        control("Command1")->setFocus();
        QStringList before;
        for (QLineEdit* lineEdit : form->findChildren<QLineEdit*>()) {
            before << lineEdit->text();
        }
        for (const char* name : kOptionNames) {
            if (option(name)->isVisible()) {
                QTest::mouseClick(option(name), Qt::LeftButton);
            }
        }
        QStringList after;
        for (QLineEdit* lineEdit : form->findChildren<QLineEdit*>()) {
            after << lineEdit->text();
        }
        QCOMPARE(after, before);
    }

    void resizingMovesNothing() {
        const QRect before = box("Text6")->geometry();
        form->resize(600, 500);
        QCOMPARE(box("Text6")->geometry(), before);
        QCOMPARE(control("Command2_2")->geometry(), QRect(224, 296, 49, 25));
    }

    void outputNameFollowsTheInputName_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("extension") << R"(C:\roms\game.gba)"
                                   << R"(C:\roms\game-p.gba)";
        QTest::newRow("two dots") << R"(C:\roms\game.eu.gba)"
                                  << R"(C:\roms\game-p.eu.gba)";
        QTest::newRow("dotted folder") << R"(C:\my.roms\game.gba)"
                                       << R"(C:\my.roms\game-p.gba)";
        QTest::newRow("no extension") << R"(C:\roms\game)"
                                      << R"(C:\roms\game-p)";
        QTest::newRow("only extension") << ".gba"
                                        << "-p.gba";
        QTest::newRow("trailing dot") << "game."
                                      << "game-p.";
        QTest::newRow("empty") << ""
                               << "-p";
        QTest::newRow("start text") << "Original filename"
                                    << "Original filename-p";
        QTest::newRow("hidden folder") << "/home/me/.roms/game.gba"
                                       << "/home/me/.roms/game-p.gba";
        QTest::newRow("current folder") << "./game.gba"
                                        << "./game-p.gba";
    }
    void outputNameFollowsTheInputName() {
        QFETCH(QString, input);
        QFETCH(QString, output);
        box("Text3")->setText(QStringLiteral("chosen by hand.gba"));
        box("Text1")->setText(input);
        QTest::keyClick(box("Text1"), Qt::Key_Tab);
        QVERIFY(!box("Text1")->hasFocus());
        QCOMPARE(box("Text3")->text(), output);
    }

    void onlyAFocusMoveWithinTheWindowDerivesTheName_data() {
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::addColumn<bool>("derived");
        QTest::newRow("tab") << Qt::TabFocusReason << true;
        QTest::newRow("backtab") << Qt::BacktabFocusReason << true;
        QTest::newRow("mouse") << Qt::MouseFocusReason << true;
        QTest::newRow("other") << Qt::OtherFocusReason << true;
        QTest::newRow("another window") << Qt::ActiveWindowFocusReason << false;
        QTest::newRow("popup") << Qt::PopupFocusReason << false;
    }
    void onlyAFocusMoveWithinTheWindowDerivesTheName() {
        QFETCH(Qt::FocusReason, reason);
        QFETCH(bool, derived);
        setNames(QStringLiteral("game.gba"), QStringLiteral("kept.gba"));
        QFocusEvent focusOut(QEvent::FocusOut, reason);
        QApplication::sendEvent(box("Text1"), &focusOut);
        QCOMPARE(box("Text3")->text(), derived ? QStringLiteral("game-p.gba") : "kept.gba");
    }

    void browseButtonsFillTheirBoxes() {
        const QString game = QString::fromStdString(
            folder->write("game.gba", quillet::test::patternBytes(300)).string());
        const QString chosenOutput = QString::fromStdString(folder->path("chosen.gba").string());
        QString answer = game;
        ModalAnswerer answerer([&](QFileDialog* dialog) {
            if (!answer.isEmpty()) {
                dialog->selectFile(answer);
                static_cast<QDialog*>(dialog)->accept();
            }
        });
        QTest::mouseClick(control("Command2_0"), Qt::LeftButton);
        QCOMPARE(box("Text1")->text(), game);
        QCOMPARE(box("Text3")->text(), QString(game).replace(".gba", "-p.gba"));

        answer = chosenOutput;
        QTest::mouseClick(control("Command2_2"), Qt::LeftButton);
        QCOMPARE(box("Text3")->text(), chosenOutput);
        QCOMPARE(box("Text1")->text(), game);

        // A cancelled dialog reports the name of its last use, which goes into the box.
        answer.clear();
        box("Text1")->setText(QStringLiteral("typed.gba"));
        QTest::mouseClick(control("Command2_0"), Qt::LeftButton);
        QCOMPARE(box("Text1")->text(), chosenOutput);
        QCOMPARE(box("Text3")->text(), QString(chosenOutput).replace(".gba", "-p.gba"));

        QTest::mouseClick(option("Option1_0"), Qt::LeftButton);
        answer = game;
        QTest::mouseClick(control("Command2_1"), Qt::LeftButton);
        QCOMPARE(box("Text2")->text(), game);
        QCOMPARE(box("Text1")->text(), chosenOutput);

        QCOMPARE(answerer.fileDialogsSaving(), (QList<bool>{false, true, false, false}));
        QVERIFY(answerer.messages().isEmpty());
    }

    void unsupportedChoicesAreRefusedInOrder_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("message");
        const QString add = QStringLiteral("Sorry, adding an intro is not supported yet!");
        const QString position = QStringLiteral(
            "Sorry, only removing intros from the end of the file is currently supported.");
        const QString extent = QStringLiteral(
            "Sorry, only deleting everything from the start of the intro to the end of the file "
            "is currently supported.");
        QTest::newRow("add mode") << QStringList{"Option1_0"} << add;
        QTest::newRow("add mode first")
            << QStringList{"Option2_1", "Option3_1", "Option1_0"} << add;
        QTest::newRow("at address") << QStringList{"Option2_1"} << position;
        QTest::newRow("position before extent")
            << QStringList{"Option3_1", "Option2_1"} << position;
        QTest::newRow("bytes to delete") << QStringList{"Option3_1"} << extent;
    }
    void unsupportedChoicesAreRefusedInOrder() {
        QFETCH(QStringList, clicks);
        QFETCH(QString, message);
        const auto input = folder->write("game.gba", quillet::test::imageWithTarget(400, 300));
        const auto output = folder->path("game-p.gba");
        setNames(QString::fromStdString(input.string()), QString::fromStdString(output.string()));
        for (const QString& name : clicks) {
            QTest::mouseClick(option(qPrintable(name)), Qt::LeftButton);
        }
        QCOMPARE(clickRemove(), QStringList{message});
        QVERIFY(!std::filesystem::exists(output));
    }

    void messagesAreModalOkBoxesTitledQuillet() {
        ModalAnswerer answerer;
        QTest::mouseClick(option("Option1_0"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(answerer.messages().size(), 1);
        QCOMPARE(answerer.messages()[0].title, QStringLiteral("quillet"));
        QCOMPARE(answerer.messages()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(answerer.messages()[0].buttonCount, 1);
    }

    // The library's output shows which fill reached it: its length tells a cut from a fill, its
    // last byte the fill byte.
    void fillChoiceReachesTheLibrary_data() {
        QTest::addColumn<int>("fillIndex");
        QTest::addColumn<QString>("fillText");
        QTest::addColumn<int>("outputSize");
        QTest::addColumn<int>("fillByte");
        QTest::newRow("no fill") << 0 << "abc" << 1024 << -1;
        QTest::newRow("0xFF") << 1 << "abc" << 1280 << 0xFF;
        QTest::newRow("manual start text") << 2 << "0" << 1280 << 0x00;
        QTest::newRow("255") << 2 << "255" << 1280 << 0xFF;
        QTest::newRow("empty") << 2 << "" << 1280 << 0x00;
        QTest::newRow("letters") << 2 << "abc" << 1280 << 0x00;
        QTest::newRow("-1") << 2 << "-1" << 1280 << 0xFF;
        QTest::newRow("256") << 2 << "256" << 1280 << 0x00;
        QTest::newRow("0x10") << 2 << "0x10" << 1280 << 0x10;
        QTest::newRow("2.5") << 2 << "2.5" << 1280 << 0x02;
        QTest::newRow("3.5") << 2 << "3.5" << 1280 << 0x04;
        QTest::newRow("leading number") << 2 << " 7 apples" << 1280 << 0x07;
    }
    void fillChoiceReachesTheLibrary() {
        QFETCH(int, fillIndex);
        QFETCH(QString, fillText);
        QFETCH(int, outputSize);
        QFETCH(int, fillByte);
        const auto input = folder->write("game.gba", quillet::test::imageWithTarget(1280, 1024));
        setNames(QString::fromStdString(input.string()),
                 QString::fromStdString(folder->path("game-p.gba").string()));
        QTest::mouseClick(group("Option4")->button(fillIndex), Qt::LeftButton);
        box("Text6")->setText(fillText);
        QCOMPARE(clickRemove(), QStringList{"Done!"});
        const quillet::test::Bytes output = folder->read("game-p.gba");
        QCOMPARE(static_cast<int>(output.size()), outputSize);
        if (fillByte >= 0) {
            QVERIFY(quillet::test::allBytesAre(quillet::test::slice(output, 1024, 256),
                                               std::byte(fillByte)));
        }
        QCOMPARE(output[0], std::byte{0x2E});
    }

    void aFillNumberOutOfRangeIsRefused_data() {
        QTest::addColumn<QString>("fillText");
        QTest::newRow("40000") << "40000";
        QTest::newRow("-32769") << "-32769";
        QTest::newRow("32767.5") << "32767.5";
        QTest::newRow("0x10000") << "0x10000";
    }
    void aFillNumberOutOfRangeIsRefused() {
        QFETCH(QString, fillText);
        const auto input = folder->write("game.gba", quillet::test::imageWithTarget(1280, 1024));
        // The fill number is checked first, even when the output names the input.
        setNames(QString::fromStdString(input.string()), QString::fromStdString(input.string()));
        QTest::mouseClick(option("Option4_2"), Qt::LeftButton);
        box("Text6")->setText(fillText);
        QCOMPARE(clickRemove(),
                 QStringList{"The fill value must be a whole number from -32768 to 32767."});
        QCOMPARE(folder->entries(), std::vector<std::string>{"game.gba"});
    }

    void anOutputNamingTheInputIsRefused() {
        const quillet::test::Bytes image = quillet::test::imageWithTarget(1280, 1024);
        const auto input = folder->write("game.gba", image);
        std::filesystem::create_directory(folder->path("sub"));
        const QString inputName = QString::fromStdString(input.string());
        const QString viaSubfolder =
            QString::fromStdString((folder->path("sub") / ".." / "game.gba").string());
        for (const QString& outputName : {inputName, viaSubfolder}) {
            setNames(inputName, outputName);
            QCOMPARE(clickRemove(), QStringList{"The output file must not be the input file."});
        }
        QCOMPARE(folder->read("game.gba"), image);
    }

    void removalsReportWhatTheLibrarySaid() {
        const quillet::test::Bytes image = quillet::test::imageWithTarget(1280, 1024);
        const auto input = folder->write("Pokémon Édition.gba", image);
        const QString inputName = QString::fromStdString(input.string());
        const QString outputName =
            QString::fromStdString(folder->path("Pokémon Édition-p.gba").string());

        setNames(inputName, outputName);
        QCOMPARE(clickRemove(), QStringList{"Done!"});
        QCOMPARE(folder->read("Pokémon Édition-p.gba").size(), image.size());

        setNames(QString::fromStdString(folder->path("missing.gba").string()), outputName);
        QCOMPARE(clickRemove(), QStringList{"Input file not found!"});

        setNames(QString(), outputName);
        QCOMPARE(clickRemove(), QStringList{"Input file not found!"});

        folder->write("broken.gba", quillet::test::imageWithTarget(1000, 1024));
        setNames(QString::fromStdString(folder->path("broken.gba").string()), outputName);
        QTest::mouseClick(option("Option4_0"), Qt::LeftButton);
        QCOMPARE(clickRemove(),
                 QStringList{"No intro found: the entry branch points past the end of the file!"});

        QCOMPARE(folder->read("Pokémon Édition.gba"), image);
        QCOMPARE(folder->read("Pokémon Édition-p.gba").size(), image.size());
    }

    void startNamesGoToTheLibraryAsTheyStand() {
        const auto startFolder = std::filesystem::current_path();
        std::filesystem::current_path(folder->path(""));
        const QStringList messages = clickRemove();
        std::filesystem::current_path(startFolder);
        QCOMPARE(messages, QStringList{"Input file not found!"});
        QVERIFY(folder->entries().empty());
    }
};

int main(int argc, char** argv) {
    quillet::Application application(argc, argv);
    Form1Test test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "form1_test.moc"
