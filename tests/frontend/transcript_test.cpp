// Runs the cases of a transcript named by QUILLET_TRANSCRIPT, each in a fresh standard folder of
// test images: frontend/window.t, the window as a user meets it, whose cases each start with a
// new window, and cli/commands.t, quillet-cli's shell sessions. Each file says how its cases are
// written; the programs and libraries they name come from the environment that CMake sets.
#include <dlfcn.h>
#include <unistd.h>

#include <QtTest>
#include <QtWidgets>
#include <fstream>

#include "Application.h"
#include "Form1.h"
#include "fill_number.h"
#include "test_images.h"

using namespace quillet::test;
using Lines = std::vector<std::string>;

namespace {

// The file and bytes that a transcript's line "NAME <- WHAT" says a case writes: WHAT is "cut
// IMAGE", "fill XX IMAGE", "add GAME + INTRO", or another file, all as they are in folder.
std::pair<std::string, Bytes> expectedFile(const ScratchFolder& folder, const std::string& line) {
    const std::size_t arrow = line.find(" <- ");
    const std::string what = line.substr(arrow + 4), source = what.substr(what.find(' ') + 1);
    const std::size_t plus = source.find(" + ");
    return {line.substr(0, arrow),
            what.starts_with("cut ") ? removed(folder.read(source), std::nullopt)
            : what.starts_with("fill ")
                ? removed(folder.read(source.substr(3)), char(std::stoi(source, nullptr, 16)))
            : what.starts_with("add ")
                ? added(folder.read(source.substr(0, plus)), folder.read(source.substr(plus + 3)))
                : folder.read(what)};
}

// A transcript's text as the program shows it: its variables and escapes replaced.
QString expanded(QString text) {
    for (const char* name : {"FOLDER", "LIBDIR", "PROGRAM"}) {
        text.replace(QStringLiteral("$") + name, qEnvironmentVariable(name));
    }
    return text.replace("\\n", "\n").replace("\\t", "\t");
}

}  // namespace

class TranscriptTest : public QObject {
    Q_OBJECT

    std::unique_ptr<quillet::Form1> form;
    QStringList shown;  // the dialogs that came, in order: messages, questions and file dialogs
    QString answer;     // the file the next file dialog chooses; empty: cancel
    std::optional<qint16> number;
    std::optional<ScratchFolder> folder;           // the case's
    std::map<std::string, Bytes> before, written;  // what folder held, and the files it writes

    // Every dialog is answered as soon as it shows, and what it showed written down.
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QDialog*>(object)) {
            QTimer::singleShot(0, object, [this, object] { close(static_cast<QDialog*>(object)); });
        }
        return false;
    }
    // A message box must be plain: titled quillet, no icon, one OK button without an icon, in the
    // window's face and size. The question before a file is replaced is answered yes.
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
        QAbstractButton* const yes = box->button(QMessageBox::Yes);
        const bool plain = box->windowTitle() == "quillet" && box->icon() == QMessageBox::NoIcon &&
                           box->buttons().size() == 1 && box->buttons()[0]->icon().isNull() &&
                           box->font().pointSize() == 8 &&
                           QFontInfo(box->font()).family() == "Liberation Sans";
        shown << (yes ? "? " : plain ? "! " : "! not plain: ") + box->text();
        (yes ? yes : box->buttons()[0])->click();
    }
    // The buttons whose caption the window cuts short, or what face it shows them in. A value box
    // level with an option hides the option's right end.
    QString clippedCaptions() const {
        QStringList clipped;
        for (const QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
            const QRect area(button->mapTo(form.get(), QPoint()), button->size());
            int visibleWidth = area.width();
            for (const QLineEdit* box : form->findChildren<QLineEdit*>()) {
                if (area.contains(box->x(), box->geometry().center().y())) {
                    visibleWidth = box->x() - area.x();
                }
            }
            // Where the style puts the caption: behind an option's indicator, or a push button's
            // margin.
            QStyleOptionButton option;
            option.initFrom(button);
            const QStyle::SubElement contents = qobject_cast<const QRadioButton*>(button)
                                                    ? QStyle::SE_RadioButtonContents
                                                    : QStyle::SE_PushButtonContents;
            const int start = button->style()->subElementRect(contents, &option, button).left();
            if (start + button->fontMetrics().horizontalAdvance(button->text().trimmed()) >
                visibleWidth) {
                clipped << button->objectName();
            }
        }
        return clipped.isEmpty() ? "none clipped in " + QFontInfo(form->font()).family()
                                 : "clipped " + clipped.join(", ");
    }
    // What a test sees of a control, or of the library, the application, the captions or a number.
    QString described(const QString& name) const {
        if (name == "library") {
            void* handle = dlopen(QUILLET_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_NOLOAD);
            return handle != nullptr && dlclose(handle) == 0 ? "loaded" : "not loaded";
        }
        if (name == "application") {
            return qApp->applicationName() + ' ' + qApp->applicationVersion() + ", " +
                   QString::number(form->windowIcon().availableSizes().size()) + " icons";
        }
        if (name == "number" || name == "captions") {
            return name == "captions" ? clippedCaptions()
                   : number           ? QString::number(*number)
                                      : "refused";
        }
        const QWidget* control = form->findChild<QWidget*>(name);
        const QString visible = control->isVisible() ? "shown" : "hidden";
        if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
            return QStringLiteral("\"%1\" %2%3, %4")
                .arg(button->text(), button->isEnabled() ? "on" : "off",
                     button->isChecked() ? ", selected" : "", visible);
        }
        if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
            return QStringLiteral("\"%1\" %2, %3, %4")
                .arg(box->text(), box->isEnabled() ? "on" : "off")
                .arg(box->palette().color(QPalette::Base).rgb() & 0xFFFFFF, 6, 16, QChar(u'0'))
                .arg(visible);
        }
        return visible;
    }
    void act(const QString& action) {
        const QString verb = action.section(u' ', 0, 0), name = action.section(u' ', 1, 1);
        const QString rest = expanded(action.section(u' ', 1));
        if (verb == "click") {
            QTest::mouseClick(form->findChild<QWidget*>(name), Qt::LeftButton);
        } else if (verb == "type") {
            // With the focus elsewhere, so that Text1 loses none.
            form->findChild<QWidget*>("Command1")->setFocus();
            form->findChild<QLineEdit*>(name)->setText(expanded(action.section(u' ', 2)));
        } else if (verb == "leave") {
            QFocusEvent event(QEvent::FocusOut, name == "tab"      ? Qt::TabFocusReason
                                                : name == "window" ? Qt::ActiveWindowFocusReason
                                                                   : Qt::PopupFocusReason);
            QApplication::sendEvent(form->findChild<QWidget*>("Text1"), &event);
        } else if (verb == "answer" || verb == "number") {
            verb == "answer" ? void(answer = rest) : void(number = quillet::manualFillNumber(rest.toStdString()));
        } else if (verb == "fail") {
            struct Failing : QObject {
                bool event(QEvent*) override { throw std::runtime_error("the handler failed"); }
            } failing;
            QEvent event(QEvent::User);
            QApplication::sendEvent(&failing, &event);
        } else {
            QVERIFY2(verb == "sh" && std::system(qPrintable(rest)) == 0, qPrintable(action));
        }
    }
    // A shell session: its lines "$ " are the script, "! " what it prints on standard error, "? "
    // its exit status, "= " the files it writes, and the others what it prints on standard output.
    void session(const Lines& lines) {
        std::map<char, std::string> text;  // by mark; ' ' for standard output
        for (const std::string& line : lines) {
            const bool marked = line.size() > 1 && line[1] == ' ' && strchr("$!?=", line[0]);
            text[marked ? line[0] : ' '] += (marked ? line.substr(2) : line) + '\n';
        }
        QProcess shell;
        shell.start("/bin/sh", {"-c", QString::fromStdString(text['$'])});
        QVERIFY(shell.waitForFinished(-1));
        if (shell.exitCode() == 77) {
            QSKIP(shell.readAllStandardError());
        }
        QCOMPARE(shell.readAllStandardOutput().toStdString(), text[' ']);
        QCOMPARE(shell.readAllStandardError().toStdString(), text['!']);
        QCOMPARE(shell.exitCode(), std::atoi(text['?'].c_str()));
    }
    void window(const Lines& lines) {
        form = std::make_unique<quillet::Form1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        shown.clear();
        for (const std::string& text : lines) {
            const QString line = QString::fromStdString(text);
            if (line.startsWith("> ")) {
                act(line.mid(2));
            } else if (line.contains(QRegularExpression("^[!?&] "))) {
                QCOMPARE(shown.isEmpty() ? "nothing" : shown.takeFirst(), expanded(line));
            } else if (!line.startsWith("= ")) {
                const QString name = line.section(": ", 0, 0);
                QCOMPARE(name + ": " + described(name), expanded(line));
            }
        }
        QCOMPARE(shown, QStringList());
    }

  private slots:
    // The cases of the transcript: each begins with a line "# its name" and holds the lines after
    // it but for blank ones and comments. Comments of more than one line name no case.
    void transcript_data() {
        QTest::addColumn<Lines>("lines");
        std::vector<std::pair<std::string, Lines>> cases;
        std::ifstream in(getenv("QUILLET_TRANSCRIPT"));
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("# ")) {
                cases.emplace_back(line.substr(2), Lines());
            } else if (!line.empty() && line[0] != '#') {
                cases.back().second.push_back(line);
            }
        }
        for (const auto& [name, lines] : cases) {
            if (!lines.empty()) {
                QTest::newRow(name.c_str()) << lines;
            }
        }
    }
    void transcript() {
        QFETCH(Lines, lines);
        folder.emplace(true);
        QDir::setCurrent(QString::fromStdString(folder->path().string()));
        qputenv("FOLDER", QDir::currentPath().toUtf8());
        written.clear();
        for (const std::string& line : lines) {
            if (line.starts_with("= ")) {
                written.insert(expectedFile(*folder, line.substr(2)));
            }
        }
        before = folder->snapshot();
        lines[0].starts_with("$ ") ? session(lines) : window(lines);
    }
    // Every file of the case's folder is as it was before, but for those written, which hold
    // what they must.
    void cleanup() {
        form.reset();
        auto after = folder->snapshot();
        for (const auto& [name, bytes] : written) {
            QCOMPARE(folder->read(name), bytes);
            after.erase(name);
            before.erase(name);
        }
        QVERIFY(after == before);
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
    // As root, $AS_USER runs a command as nobody; as anyone else, as oneself.
    qputenv("AS_USER",
            geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups" : "");
    TranscriptTest test;
    application.installEventFilter(&test);
    return QTest::qExec(&test, argc, argv);
}
#include "transcript_test.moc"
