// The window loads the library only at the first removal that passes its checks, tells the user
// when it cannot, and tries again at the next click.
#include <dlfcn.h>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>

#include "Application.h"
#include "Form1.h"
#include "modal_answerer.h"
#include "test_images.h"

namespace fs = std::filesystem;

class BindingTest : public QObject {
    Q_OBJECT

  private:
    // The library file beside this program, where the window looks first.
    static fs::path libraryBesideProgram() {
        return fs::path(QCoreApplication::applicationDirPath().toStdString()) /
               QUILLET_LIBRARY_FILE_NAME;
    }
    static bool libraryLoaded() {
        void* handle = dlopen(QUILLET_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_NOLOAD);
        if (handle != nullptr) {
            dlclose(handle);
        }
        return handle != nullptr;
    }
    QStringList clickRemove(quillet::Form1& form) {
        quillet::test::ModalAnswerer answerer;
        QTest::mouseClick(form.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        return answerer.messageTexts();
    }

  private slots:
    void initTestCase() { fs::remove(libraryBesideProgram()); }
    void cleanupTestCase() { fs::remove(libraryBesideProgram()); }

    void theLibraryIsLoadedAtTheFirstValidClickAndKept() {
        quillet::test::ScratchFolder folder;
        const auto input = folder.write("game.gba", quillet::test::imageWithTarget(600, 512));
        quillet::Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* text1 = form.findChild<QLineEdit*>("Text1");
        auto* text3 = form.findChild<QLineEdit*>("Text3");
        form.findChild<QPushButton*>("Command1")->setFocus();
        text1->setText(QString::fromStdString(input.string()));
        QVERIFY(!libraryLoaded());

        // Refused clicks do not need the library.
        text3->setText(text1->text());
        QCOMPARE(clickRemove(form), QStringList{"The output file must not be the input file."});
        form.findChild<QRadioButton*>("Option1_0")->click();
        QCOMPARE(clickRemove(form), QStringList{"Sorry, adding an intro is not supported yet!"});
        form.findChild<QRadioButton*>("Option1_1")->click();
        QVERIFY(!libraryLoaded());

        text3->setText(QString::fromStdString(folder.path("game-p.gba").string()));
        const QStringList missing = clickRemove(form);
        QCOMPARE(missing.size(), 1);
        QVERIFY2(missing[0].startsWith(QStringLiteral("The library " QUILLET_LIBRARY_FILE_NAME
                                                      " could not be loaded.")),
                 qPrintable(missing[0]));
        QVERIFY(!libraryLoaded());
        QVERIFY(!fs::exists(folder.path("game-p.gba")));

        fs::copy_file(QUILLET_LIBRARY_PATH, libraryBesideProgram());
        QCOMPARE(clickRemove(form), QStringList{"Done!"});
        QVERIFY(libraryLoaded());
        QCOMPARE(folder.read("game-p.gba").size(), 600u);

        // Bound for good: the file may go, the function found stays.
        fs::remove(libraryBesideProgram());
        fs::remove(folder.path("game-p.gba"));
        QCOMPARE(clickRemove(form), QStringList{"Done!"});
        QVERIFY(fs::exists(folder.path("game-p.gba")));
    }

    void aFailureInsideAHandlerIsShownAndTheProgramGoesOn() {
        struct Throwing : QObject {
            bool event(QEvent*) override { throw std::runtime_error("the handler failed"); }
        } failing;
        quillet::test::ModalAnswerer answerer;
        QEvent event(QEvent::User);
        QCOMPARE(QApplication::sendEvent(&failing, &event), false);
        QCOMPARE(answerer.messageTexts(), QStringList{"the handler failed"});
    }
};

int main(int argc, char** argv) {
    quillet::Application application(argc, argv);
    BindingTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "binding_test.moc"
