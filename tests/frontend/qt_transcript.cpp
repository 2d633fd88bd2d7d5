// The window's transcript with the Qt window, on the offscreen platform: each case gets a new
// Form1, and every dialog is answered as soon as it shows.
#include <dlfcn.h>

#include <QtTest>
#include <QtWidgets>

#include "Application.h"
#include "Form1.h"
#include "transcript.h"

namespace {

class QtWindow : public QObject, public quillet::test::TranscriptWindow {
  public:
    QtWindow() {
        form.show();
        if (!QTest::qWaitForWindowActive(&form)) {
            throw std::runtime_error("the window never showed");
        }
        qApp->installEventFilter(this);
    }

    void act(const std::string& verb, const std::string& argument) override {
        const QString rest = QString::fromStdString(argument);
        const QString name = rest.section(u' ', 0, 0);
        if (verb == "click") {
            QTest::mouseClick(control(name), Qt::LeftButton);
        } else if (verb == "type") {
            // With the focus elsewhere, so that Text1 loses none.
            control("Command1")->setFocus();
            static_cast<QLineEdit*>(control(name))->setText(rest.section(u' ', 1));
        } else if (verb == "leave") {
            QFocusEvent event(QEvent::FocusOut, name == "tab"      ? Qt::TabFocusReason
                                                : name == "window" ? Qt::ActiveWindowFocusReason
                                                                   : Qt::PopupFocusReason);
            QApplication::sendEvent(control("Text1"), &event);
        } else if (verb == "press") {
            QWidget* button = control(rest.section(u' ', 1));
            button->setFocus();
            QTest::keyClick(button, name == "enter"  ? Qt::Key_Return
                                    : name == "down" ? Qt::Key_Down
                                    : name == "up"   ? Qt::Key_Up
                                                     : Qt::Key_Space);
        } else if (verb == "answer") {
            answer = rest;
        } else if (verb == "drop") {
            QMimeData data;
            // As file managers drag a file: its address, and the same as text; or text alone.
            if (!rest.startsWith("text ")) {
                data.setUrls({QUrl::fromLocalFile(QFileInfo(rest).absoluteFilePath())});
            }
            data.setText(data.hasUrls() ? data.urls()[0].toString() : rest.section(u' ', 1));
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            if (QApplication::sendEvent(control("Text1"), &enter) && enter.isAccepted()) {
                QApplication::sendEvent(control("Text1"), &drop);
            }
        } else {
            struct Failing : QObject {
                bool event(QEvent*) override { throw std::runtime_error("the handler failed"); }
            } failing;
            QEvent event(QEvent::User);
            QApplication::sendEvent(&failing, &event);
        }
    }

    std::string described(const std::string& name) override {
        return describedControl(QString::fromStdString(name)).toStdString();
    }

    std::vector<std::string> takeShown() override { return std::exchange(shown, {}); }

  private:
    QWidget* control(const QString& name) { return form.findChild<QWidget*>(name); }

    // Every dialog is answered as soon as it shows, and what it showed written down.
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QDialog*>(object)) {
            QTimer::singleShot(0, object, [this, object] { close(static_cast<QDialog*>(object)); });
        }
        return false;
    }

    // A message box must be plain: titled quillet, no icon, one OK button without an icon, in
    // the window's face and size. The toolkit's question before a file is replaced is answered
    // yes.
    void close(QDialog* dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
            const QString named = files->findChild<QLineEdit*>("fileNameEdit")->text();
            shown.push_back(
                QStringLiteral("& %1 in %2, %3")
                    .arg(files->acceptMode() == QFileDialog::AcceptSave ? "save" : "open",
                         QDir::current().relativeFilePath(files->directory().path()),
                         named.isEmpty() ? "nothing named" : named)
                    .toStdString());
            files->selectFile(answer);
            return answer.isEmpty() ? dialog->reject() : dialog->accept();
        }
        auto* box = static_cast<QMessageBox*>(dialog);
        QAbstractButton* const yes = box->button(QMessageBox::Yes);
        const bool plain = box->windowTitle() == "quillet" && box->icon() == QMessageBox::NoIcon &&
                           box->buttons().size() == 1 && box->buttons()[0]->icon().isNull() &&
                           box->font().pointSize() == 8 &&
                           QFontInfo(box->font()).family() == "Liberation Sans";
        shown.push_back(yes ? "? replace"
                            : ((plain ? "! " : "! not plain: ") + box->text()).toStdString());
        (yes ? yes : box->buttons()[0])->click();
    }

    // The buttons whose caption the window cuts short. A value box level with an option hides
    // the option's right end.
    QString clippedCaptions() {
        QStringList clipped;
        for (const QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
            const QRect area(button->mapTo(&form, QPoint()), button->size());
            int visibleWidth = area.width();
            for (const QLineEdit* box : form.findChildren<QLineEdit*>()) {
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
        return clipped.isEmpty() ? "none clipped in " + QFontInfo(form.font()).family()
                                 : "clipped " + clipped.join(", ");
    }

    // The controls in the order Tab visits them from Text1, each once.
    QString tabOrder() {
        control("Text1")->setFocus();
        QStringList order{"Text1"};
        for (;;) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QString name = QApplication::focusWidget()->objectName();
            if (order.contains(name)) {
                return order.join(' ');
            }
            order << name;
        }
    }

    QString describedControl(const QString& name) {
        if (name == "library") {
            void* handle = dlopen(QUILLET_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_NOLOAD);
            return handle != nullptr && dlclose(handle) == 0 ? "loaded" : "not loaded";
        }
        if (name == "application") {
            return qApp->applicationName() + ' ' + qApp->applicationVersion() + ", " +
                   QString::number(form.windowIcon().availableSizes().size()) + " icons";
        }
        if (name == "cursor") {
            return QApplication::overrideCursor() != nullptr ? "busy" : "normal";
        }
        if (name == "client area") {
            return QStringLiteral("%1x%2").arg(form.width()).arg(form.height());
        }
        if (name == "captions" || name == "tab order") {
            return name == "captions" ? clippedCaptions() : tabOrder();
        }
        const QWidget* widget = control(name);
        const QString visible = widget->isVisible() ? "shown" : "hidden";
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            return QStringLiteral("\"%1\" %2%3, %4")
                .arg(button->text(), button->isEnabled() ? "on" : "off",
                     button->isChecked() ? ", selected" : "", visible);
        }
        if (const auto* box = qobject_cast<const QLineEdit*>(widget)) {
            return QStringLiteral("\"%1\" %2, %3, %4")
                .arg(box->text(), box->isEnabled() ? "on" : "off")
                .arg(box->palette().color(QPalette::Base).rgb() & 0xFFFFFF, 6, 16, QChar(u'0'))
                .arg(visible);
        }
        return visible;
    }

    quillet::Form1 form;
    std::vector<std::string> shown;
    QString answer;  // the file the next file dialog chooses; empty: cancel
};

}  // namespace

int main(int argc, char** argv) {
    quillet::Application application(argc, argv);
    // Stand-ins for the system colours 0 (scroll bar), 4 (menu) and 15 (button face), so that
    // each box's colour is a known number.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Midlight, 0x101010);
    palette.setColor(QPalette::Window, 0x404040);
    palette.setColor(QPalette::Button, 0xf0f0f0);
    QApplication::setPalette(palette);
    return quillet::test::runTranscript({"linux", "qt"},
                                        [] { return std::make_unique<QtWindow>(); });
}
