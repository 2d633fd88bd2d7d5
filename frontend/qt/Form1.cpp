#include "Form1.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMimeData>
#include <QProxyStyle>

#include "colors.h"
#include "file_dialog.h"
#include "load_library.h"
#include "message_box.h"
#include "ui_Form1.h"

namespace quillet {

namespace {

// Members of a control array are named Array_index; the index becomes their id in the group.
void numberMembersByName(QButtonGroup* group) {
    for (QAbstractButton* member : group->buttons()) {
        group->setId(member, member->objectName().section(u'_', -1).toInt());
    }
}

// As on Windows, Tab stops at a group's selected option only; the arrow keys move within it.
void tabToSelected(QButtonGroup* group) {
    for (QAbstractButton* member : group->buttons()) {
        member->setFocusPolicy(member->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void connectSelection(QButtonGroup* group, Form1Behaviour& behaviour,
                      void (Form1Behaviour::*handler)(int)) {
    tabToSelected(group);
    QObject::connect(group, &QButtonGroup::idToggled,
                     [group, &behaviour, handler](int id, bool checked) {
                         tabToSelected(group);
                         if (checked) {
                             (behaviour.*handler)(id);
                         }
                     });
}

// Option captions sit as close to their indicator as on the classic dialogs that the window's
// layout was made for; with today's wider spacing the longest captions would run under the
// value boxes.
class CompactOptionStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_RadioButtonLabelSpacing) {
            return 3;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// The first local file among the URLs that a drag carries.
QString droppedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    return urls.isEmpty() || !urls.constFirst().isLocalFile()
               ? QString()
               : QDir::toNativeSeparators(urls.constFirst().toLocalFile());
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::Form1>()), behaviour(*this) {
    ui->setupUi(this);
    applyStoredBackColors(this);
    auto* optionStyle = new CompactOptionStyle;
    optionStyle->setParent(this);
    for (QRadioButton* option : findChildren<QRadioButton*>()) {
        option->setStyle(optionStyle);
    }
    for (QButtonGroup* group : {ui->Option1, ui->Option2, ui->Option3, ui->Option4, ui->Command2}) {
        numberMembersByName(group);
    }
    connectSelection(ui->Option1, behaviour, &Form1Behaviour::Option1_Click);
    connectSelection(ui->Option2, behaviour, &Form1Behaviour::Option2_Click);
    connectSelection(ui->Option3, behaviour, &Form1Behaviour::Option3_Click);
    connectSelection(ui->Option4, behaviour, &Form1Behaviour::Option4_Click);
    connect(ui->Command2, &QButtonGroup::idClicked,
            [this](int index) { behaviour.Command2_Click(index); });
    connect(ui->Command1, &QPushButton::clicked, [this] { behaviour.Command1_Click(); });
    ui->Text1->installEventFilter(this);
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        button->installEventFilter(this);
    }
    // A file dropped anywhere on the window opens, on a box as well, which would take its name
    // as text.
    setAcceptDrops(true);
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->setAcceptDrops(false);
    }
    ui->Text1->setFocus();
}

Form1::~Form1() = default;

void Form1::openImage(const QString& path) {
    behaviour.openImage(path.toLocal8Bit().toStdString());
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // Another window or a popup taking over is no move of the focus within this window.
    if (watched == ui->Text1 && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            behaviour.Text1_LostFocus();
        }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(watched);
        button != nullptr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Enter presses the button that has the focus, as Space does.
        if (qobject_cast<QPushButton*>(button) != nullptr &&
            (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            button->click();
            return true;
        }
        // The arrow keys choose the next or the previous option of the group that has the
        // focus, which only its chosen option takes from Tab.
        const bool back = key == Qt::Key_Up || key == Qt::Key_Left;
        if (qobject_cast<QRadioButton*>(button) != nullptr &&
            (back || key == Qt::Key_Down || key == Qt::Key_Right)) {
            const QList<QAbstractButton*> options = button->group()->buttons();
            QAbstractButton* next =
                options[(options.indexOf(button) + (back ? options.size() - 1 : 1)) %
                        options.size()];
            next->setFocus();
            next->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void Form1::dropEvent(QDropEvent* event) {
    openImage(droppedFile(event->mimeData()));
    event->acceptProposedAction();
}

QWidget* Form1::control(Control control) const {
    return findChild<QWidget*>(QString::fromLatin1(nameOf(control)));
}

bool Form1::isSelected(Control option) const {
    return static_cast<const QAbstractButton*>(control(option))->isChecked();
}

std::string Form1::text(Control control) const {
    const QWidget* widget = this->control(control);
    const auto* box = qobject_cast<const QLineEdit*>(widget);
    return (box != nullptr ? box->text() : static_cast<const QAbstractButton*>(widget)->text())
        .toLocal8Bit()
        .toStdString();
}

void Form1::setText(Control control, const std::string& text) {
    QWidget* widget = this->control(control);
    const QString value = QString::fromLocal8Bit(text);
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        box->setText(value);
    } else {
        static_cast<QAbstractButton*>(widget)->setText(value);
    }
}

void Form1::setEnabled(Control control, bool enabled) {
    this->control(control)->setEnabled(enabled);
}

void Form1::setVisible(Control control, bool visible) {
    this->control(control)->setVisible(visible);
}

void Form1::setBackColor(Control box, std::uint32_t color) {
    quillet::setBackColor(control(box), color);
}

void Form1::showMessage(const std::string& text) {
    quillet::showMessage(this, QString::fromLocal8Bit(text));
}

std::optional<std::string> Form1::chooseFile(bool save, const std::string& current) {
    const std::optional<QString> chosen =
        quillet::chooseFile(this, save, QString::fromLocal8Bit(current));
    return chosen ? std::optional(chosen->toLocal8Bit().toStdString()) : std::nullopt;
}

QuilletRemoveIntroAutoFunction Form1::loadRemoveIntroAuto(std::string& error) {
    return quillet::loadRemoveIntroAuto(error);
}

void Form1::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace quillet
