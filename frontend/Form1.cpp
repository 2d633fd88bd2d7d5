#include "Form1.h"

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QProxyStyle>
#include <cerrno>

#include "colors.h"
#include "file_names.h"
#include "fill_number.h"
#include "image_check.h"
#include "message_box.h"
#include "messages.h"
#include "ui_Form1.h"

namespace quillet {

namespace {

// Members of a control array are named Array_index; the index becomes their id in the group.
void numberMembersByName(QButtonGroup* group) {
    for (QAbstractButton* member : group->buttons()) {
        group->setId(member, member->objectName().section(u'_', -1).toInt());
    }
}

void connectSelection(QButtonGroup* group, Form1* form, void (Form1::*handler)(int)) {
    QObject::connect(group, &QButtonGroup::idToggled, form, [form, handler](int id, bool checked) {
        if (checked) {
            (form->*handler)(id);
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

// A value box that belongs to one option: white and editable only while that option is chosen.
void setValueBoxEnabled(QLineEdit* box, bool enabled) {
    box->setEnabled(enabled);
    setBackColor(box, enabled ? kWhite : kScrollBarColor);
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::Form1>()) {
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
    connectSelection(ui->Option1, this, &Form1::Option1_Click);
    connectSelection(ui->Option2, this, &Form1::Option2_Click);
    connectSelection(ui->Option3, this, &Form1::Option3_Click);
    connectSelection(ui->Option4, this, &Form1::Option4_Click);
    connect(ui->Command2, &QButtonGroup::idClicked, this, &Form1::Command2_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    ui->Text1->installEventFilter(this);
    ui->Text1->setFocus();
}

Form1::~Form1() = default;

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // Another window or a popup taking over is no move of the focus within this window.
    if (watched == ui->Text1 && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            Text1_LostFocus();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Option1_Click(int index) {
    const bool addMode = index == 0;
    setValueBoxEnabled(ui->Text2, addMode);
    ui->Command1->setText(addMode ? QStringLiteral("Add Intro") : QStringLiteral("Remove Intro"));
    ui->Option2_0->setText(addMode ? QStringLiteral("Add from end of file")
                                   : QStringLiteral("Remove from end of file"));
    ui->Option2_1->setText(addMode ? QStringLiteral("Add intro at address:")
                                   : QStringLiteral("Remove intro at address:"));
    ui->Frame2->setVisible(!addMode);
    ui->Text5->setVisible(!addMode);
    ui->Command2_1->setEnabled(addMode);
}

void Form1::Option2_Click(int index) {
    setValueBoxEnabled(ui->Text4, index != 0);
}

void Form1::Option3_Click(int index) {
    setValueBoxEnabled(ui->Text5, index != 0);
}

void Form1::Option4_Click(int index) {
    setValueBoxEnabled(ui->Text6, index >= 2);
}

void Form1::Command2_Click(int index) {
    QLineEdit* box = index >= 2 ? ui->Text3 : index == 0 ? ui->Text1 : ui->Text2;
    if (index >= 2) {
        CommonDialog1.showSave(this, box->text());
    } else {
        CommonDialog1.showOpen(this, box->text());
    }
    box->setText(CommonDialog1.fileName());
    if (index == 0) {
        Text1_LostFocus();
    }
}

void Form1::Text1_LostFocus() {
    ui->Text3->setText(QString::fromStdString(outputNameFor(ui->Text1->text().toStdString())));
}

void Form1::Command1_Click() {
    if (ui->Option1_0->isChecked()) {
        showMessage(this, QStringLiteral("Sorry, adding an intro is not supported yet!"));
        return;
    }
    if (!ui->Option2_0->isChecked()) {
        showMessage(this, QStringLiteral("Sorry, only removing intros from the end of the file is "
                                         "currently supported."));
        return;
    }
    if (!ui->Option3_0->isChecked()) {
        showMessage(this, QStringLiteral("Sorry, only deleting everything from the start of the "
                                         "intro to the end of the file is currently supported."));
        return;
    }
    const bool cut = ui->Option4_0->isChecked();
    const bool manualFill = !cut && !ui->Option4_1->isChecked();
    const qint32 fill = cut ? 0 : 1;
    qint32 fillValue = cut ? 0 : 255;
    const QString inputName = ui->Text1->text();
    const QString outputName = ui->Text3->text();
    if (manualFill) {
        const std::optional<qint16> number = manualFillNumber(ui->Text6->text());
        if (!number) {
            showMessage(this, QStringLiteral(
                                  "The fill value must be a whole number from -32768 to 32767."));
            return;
        }
        fillValue = *number;
    }
    const QByteArray inputPath = QFile::encodeName(inputName);
    const QByteArray outputPath = QFile::encodeName(outputName);
    if (namesSameFile(inputPath.toStdString(), outputPath.toStdString())) {
        showMessage(this, QString::fromUtf8(kOutputIsInputMessage));
        return;
    }
    if (const char* refusal = removalRefusal(probeImage(inputPath.toStdString()))) {
        showMessage(this, QString::fromUtf8(refusal));
        return;
    }
    QString bindingError;
    const QuilletRemoveIntroAutoFunction removeIntroAuto = engine.removeIntroAuto(bindingError);
    if (removeIntroAuto == nullptr) {
        showMessage(this, bindingError);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::int32_t status =
        removeIntroAuto(inputPath.constData(), outputPath.constData(), fill, fillValue);
    const int reason = errno;
    QApplication::restoreOverrideCursor();
    showMessage(this, QString::fromLocal8Bit(statusMessage(status, reason)));
}

}  // namespace quillet
