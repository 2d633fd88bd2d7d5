// Runs the cases of a transcript named by QUILLET_TRANSCRIPT, each in a fresh standard folder of
// test images: frontend/window.t, the window as a user meets it, whose cases each start with a
// new window, and cli/commands.t, quillet-cli's shell sessions. Each file says how its cases are
// written.
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtTest>
#include <QtWidgets>
#include <cstdlib>
#include <ranges>

#include "Application.h"
#include "Form1.h"
#include "fill_number.h"
#include "test_images.h"

namespace fs = std::filesystem;

namespace {

// Answers every dialog as soon as it shows, and writes down what it showed. A message box must be
// plain: titled quillet, no icon, one OK button without an icon, in the window's face and size.
class Dialogs : public QObject {
  public:
    using QObject::QObject;

    QStringList shown;  // messages, questions and file dialogs, in the order they came
    QString answer;     // the file the next file dialog chooses; empty: cancel

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (auto* dialog = qobject_cast<QDialog*>(watched);
            dialog && event->type() == QEvent::Show) {
            QMetaObject::invokeMethod(
                this, [this, dialog] { close(dialog); }, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    void close(QDialog* dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
            const QFileInfo selected(files->selectedFiles().value(0));
            shown << QStringLiteral("& %1 %2 in %3, %4")
                         .arg(files->acceptMode() == QFileDialog::AcceptSave ? "save" : "open",
                              files->fileMode() == QFileDialog::ExistingFile ? "an existing file"
                                                                             : "any file",
                              QDir::current().relativeFilePath(files->directory().path()),
                              selected.isFile() ? selected.fileName() : "nothing selected");
            files->selectFile(answer);
            return answer.isEmpty() ? dialog->reject() : dialog->accept();
        }
        auto* box = static_cast<QMessageBox*>(dialog);
        const QList<QAbstractButton*> buttons = box->buttons();
        const bool plain = box->windowTitle() == "quillet" && box->icon() == QMessageBox::NoIcon &&
                           buttons.size() == 1 && buttons[0]->icon().isNull() &&
                           QFontInfo(box->font()).family() == "Liberation Sans" &&
                           box->font().pointSize() == 8;
        // The question before a file is replaced is answered yes.
        shown << (box->button(QMessageBox::Yes) ? "? "
                  : plain                       ? "! "
                                                : "! not plain: ") +
                     box->text();
        (box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes) : buttons[0])->click();
    }
};

}  // namespace

class TranscriptTest : public QObject {
    Q_OBJECT

    QString expanded(QString text) const {
        return text.replace("$FOLDER", QDir::currentPath())
            .replace("$LIBDIR", qEnvironmentVariable("LIBDIR"))
            .replace("$PROGRAM", QCoreApplication::applicationDirPath())
            .replace("\\n", "\n")
            .replace("\\t", "\t");
    }
    // The buttons whose caption the window cuts short, or what face it shows them in.
    QString clippedCaptions() const {
        QStringList clipped;
        for (const QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
            int visibleWidth = button->width();
            for (const char* name : {"Text4", "Text5", "Text6"}) {
                // The value box level with an option lies in front of its right end.
                const QWidget* box = form->findChild<QWidget*>(name);
                const QPoint boxStart = button->mapFrom(form.get(), box->pos());
                if (button->rect().contains(boxStart + QPoint(0, box->height() / 2))) {
                    visibleWidth = boxStart.x();
                }
            }
            // Where the caption starts: behind an option's indicator, or a push button's margin.
            QStyleOptionButton option;
            option.initFrom(button);
            const int start =
                qobject_cast<const QRadioButton*>(button) == nullptr
                    ? 4
                    : button->style()
                          ->subElementRect(QStyle::SE_RadioButtonContents, &option, button)
                          .left();
            if (start + button->fontMetrics().horizontalAdvance(button->text().trimmed()) >
                visibleWidth) {
                clipped << button->objectName();
            }
        }
        return clipped.isEmpty() ? "none clipped in " + QFontInfo(form->font()).family()
                                 : "clipped " + clipped.join(", ");
    }
    // What a test sees of a control, or of the library, the application or a number.
    QString described(const QString& name) const {
        if (name == "library") {
            void* handle = dlopen(QUILLET_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_NOLOAD);
            return handle != nullptr && dlclose(handle) == 0 ? "loaded" : "not loaded";
        }
        if (name == "application") {
            QString sizes;
            for (const QSize size : form->windowIcon().availableSizes()) {
                sizes += QStringLiteral(" %1x%2").arg(size.width()).arg(size.height());
            }
            return qApp->applicationName() + ' ' + qApp->applicationVersion() + ", icons" + sizes;
        }
        if (name == "number") {
            return number ? QString::number(*number) : "refused";
        }
        if (name == "captions") {
            return clippedCaptions();
        }
        const QWidget* control = form->findChild<QWidget*>(name);
        QString text = control->isVisible() ? "shown" : "hidden";
        if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
            return QStringLiteral("\"%1\" %2%3, %4")
                .arg(button->text(), button->isEnabled() ? "on" : "off",
                     button->isChecked() ? ", selected" : "", text);
        }
        if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
            return QStringLiteral("\"%1\" %2, %3, %4")
                .arg(box->text(), box->isEnabled() ? "on" : "off")
                .arg(box->palette().color(QPalette::Base).rgb() & 0xFFFFFF, 6, 16, QChar(u'0'))
                .arg(text);
        }
        return text;
    }
    void act(const QString& action) {
        const QString verb = action.section(u' ', 0, 0);
        const QString name = action.section(u' ', 1, 1);
        const QString rest = expanded(action.section(u' ', 2));
        if (verb == "click") {
            QTest::mouseClick(form->findChild<QWidget*>(name), Qt::LeftButton);
        } else if (verb == "type") {
            // With the focus elsewhere, so that Text1 loses none.
            form->findChild<QWidget*>("Command1")->setFocus();
            form->findChild<QLineEdit*>(name)->setText(rest);
        } else if (verb == "leave") {
            QFocusEvent event(QEvent::FocusOut, name == "tab"      ? Qt::TabFocusReason
                                                : name == "window" ? Qt::ActiveWindowFocusReason
                                                                   : Qt::PopupFocusReason);
            QApplication::sendEvent(form->findChild<QWidget*>("Text1"), &event);
        } else if (verb == "answer") {
            dialogs->answer = expanded(action.section(u' ', 1));
        } else if (verb == "number") {
            number = quillet::manualFillNumber(expanded(action.section(u' ', 1)));
        } else if (verb == "fail") {
            struct Failing : QObject {
                bool event(QEvent*) override { throw std::runtime_error("the handler failed"); }
            } failing;
            QEvent event(QEvent::User);
            QApplication::sendEvent(&failing, &event);
        } else {
            QCOMPARE(verb, QStringLiteral("sh"));
            QCOMPARE(std::system(qPrintable(expanded(action.section(u' ', 1)))), 0);
        }
    }

    // Every file of folder as it was before, but for those written, which hold what they must.
    static void compareFolder(const quillet::test::ScratchFolder& folder,
                              std::map<std::string, quillet::test::Bytes> before,
                              const std::map<std::string, quillet::test::Bytes>& written) {
        auto after = folder.snapshot();
        for (const auto& [name, bytes] : written) {
            QCOMPARE(folder.read(name), bytes);
            after.erase(name);
            before.erase(name);
        }
        QVERIFY(after == before);
    }
    // A shell session: its lines "$ " are the script, "! " what it prints on standard error, "? "
    // its exit status, "= " the files it writes, and the others what it prints on standard output.
    void session(const quillet::test::ScratchFolder& folder,
                 const std::vector<std::string>& lines) {
        std::string script, out, err;
        int exitStatus = 0;
        std::map<std::string, quillet::test::Bytes> written;
        for (const std::string& line : lines) {
            const std::string rest = line.substr(std::min<std::size_t>(line.size(), 2));
            if (line.starts_with("$ ") || line.starts_with("! ")) {
                (line[0] == '$' ? script : err) += rest + '\n';
            } else if (line.starts_with("? ")) {
                exitStatus = std::stoi(rest);
            } else if (line.starts_with("= ")) {
                written.insert(quillet::test::expectedFile(folder, rest));
            } else {
                out += line + '\n';
            }
        }
        const auto before = folder.snapshot();
        const quillet::test::ScratchFolder captures;
        const int status = std::system(("(\n" + script + ") >'" + captures.path("out").string() +
                                        "' 2>'" + captures.path("err").string() + "'")
                                           .c_str());
        const quillet::test::Bytes printed = captures.read("out"), errors = captures.read("err");
        if (WEXITSTATUS(status) == 77) {
            QSKIP(errors.c_str());
        }
        QCOMPARE(printed, out);
        QCOMPARE(errors, err);
        QCOMPARE(WEXITSTATUS(status), exitStatus);
        compareFolder(folder, before, written);
    }

    Dialogs* dialogs = new Dialogs(this);
    std::unique_ptr<quillet::Form1> form;
    std::optional<qint16> number;

  private slots:
    void initTestCase() {
        qApp->installEventFilter(dialogs);
        // As root, $AS_USER runs a command as nobody; as anyone else, as oneself.
        qputenv("AS_USER",
                geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "");
        qputenv("PATH", QUILLET_PROGRAM_FOLDER ":" + qgetenv("PATH"));
        qputenv("SHIM", QUILLET_FAULT_SHIM);
        qputenv("PROGRAM", QCoreApplication::applicationDirPath().toUtf8());
        qputenv("LIBDIR", QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                          "/" QUILLET_LIBRARY_FOLDER_FROM_PROGRAM)
                              .toUtf8());
        qputenv("LIBRARY", QUILLET_LIBRARY_PATH);
        qputenv("LACKING", QUILLET_LIBRARY_WITHOUT_FUNCTIONS);
    }

    void transcript_data() {
        QTest::addColumn<std::vector<std::string>>("lines");
        for (const auto& [name, lines] :
             quillet::test::transcriptCases(getenv("QUILLET_TRANSCRIPT"))) {
            QTest::newRow(name.c_str()) << lines;
        }
    }
    void transcript() {
        QFETCH(std::vector<std::string>, lines);
        const quillet::test::ScratchFolder folder(true);
        QDir::setCurrent(QString::fromStdString(folder.path().string()));
        if (lines[0].starts_with("$ ")) {
            return session(folder, lines);
        }
        form = std::make_unique<quillet::Form1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        std::map<std::string, quillet::test::Bytes> written;
        auto before = folder.snapshot();
        dialogs->shown.clear();
        for (const QString line : lines | std::views::transform(QString::fromStdString)) {
            if (line.startsWith("> ")) {
                act(line.mid(2));
            } else if (line.startsWith("= ")) {
                written.insert(quillet::test::expectedFile(folder, line.mid(2).toStdString()));
            } else if (line.contains(QRegularExpression("^[!?&] "))) {
                QCOMPARE(dialogs->shown.isEmpty() ? "nothing" : dialogs->shown.takeFirst(),
                         expanded(line));
            } else {
                QCOMPARE(line.section(": ", 0, 0) + ": " + described(line.section(": ", 0, 0)),
                         expanded(line));
            }
        }
        QCOMPARE(dialogs->shown, QStringList());
        compareFolder(folder, before, written);
        form.reset();
    }
};

int main(int argc, char** argv) {
    quillet::Application application(argc, argv);
    // Stand-ins for the system colours 0 (scroll bar), 4 (menu) and 15 (button face), so that each
    // box's colour is a known number.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Midlight, 0x101010);
    palette.setColor(QPalette::Window, 0x404040);
    palette.setColor(QPalette::Button, 0xf0f0f0);
    QApplication::setPalette(palette);
    TranscriptTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "transcript_test.moc"
