#include "platform/forms/WinControls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>

#include "platform/forms/StringList.h"

namespace forms {

TWinControl::TWinControl(QWidget* Parent) : TControl(Parent) {
    setFocusPolicy(Qt::StrongFocus);
}

QWidget* TWinControl::FocusWidget() const {
    QWidget* inner = InnerWidget();
    return inner != nullptr ? inner : const_cast<TWinControl*>(this);
}

void TWinControl::SetFocus() {
    FocusWidget()->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const {
    return FocusWidget()->hasFocus();
}

TButton::TButton(QWidget* Parent) : TWinControl(Parent), button_(new QPushButton(this)) {
    setFocusPolicy(Qt::NoFocus);
    // Outside a dialog, "auto default" is exactly the class library's rule: Enter presses the focused button.
    button_->setAutoDefault(true);
    SetInnerWidget(button_);
    QObject::connect(button_, &QPushButton::clicked, this, [this] { Click(); });
}

std::string TButton::Caption() const {
    return button_->text().toStdString();
}

void TButton::SetCaption(const std::string& Value) {
    button_->setText(QString::fromStdString(Value));
}

TSpeedButton::TSpeedButton(QWidget* Parent) : TButton(Parent) {
    if (auto* button = qobject_cast<QPushButton*>(InnerWidget())) {
        button->setFlat(true);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
    }
    glyph_.OnChange = [this] { ShowGlyph(); };
}

void TSpeedButton::SetGroupIndex(int Value) {
    groupIndex_ = Value;
    auto* button = qobject_cast<QPushButton*>(InnerWidget());
    button->setCheckable(Value != 0);
    if (Value == 0)
        button->setChecked(false);
}

bool TSpeedButton::Down() const {
    return qobject_cast<QPushButton*>(InnerWidget())->isChecked();
}

void TSpeedButton::SetDown(bool Value) {
    // Only a button of a group stays down.
    if (groupIndex_ == 0)
        return;
    qobject_cast<QPushButton*>(InnerWidget())->setChecked(Value);
    if (!Value || parentWidget() == nullptr)
        return;
    for (QObject* child : parentWidget()->children())
        if (auto* other = dynamic_cast<TSpeedButton*>(child);
            other != nullptr && other != this && other->groupIndex_ == groupIndex_)
            other->SetDown(false);
}

bool TSpeedButton::Flat() const {
    return qobject_cast<QPushButton*>(InnerWidget())->isFlat();
}

void TSpeedButton::SetFlat(bool Value) {
    qobject_cast<QPushButton*>(InnerWidget())->setFlat(Value);
}

void TSpeedButton::Click() {
    // A click on a button of a group leaves it down (the button's own toggle may have just released it).
    SetDown(true);
    TButton::Click();
}

void TSpeedButton::ShowGlyph() {
    auto* button = qobject_cast<QPushButton*>(InnerWidget());
    if (glyph_.Empty()) {
        button->setIcon(QIcon());
        return;
    }
    button->setIcon(QIcon(QPixmap::fromImage(glyph_.Image())));
    button->setIconSize(QSize(glyph_.Width(), glyph_.Height()));
}

TCheckBox::TCheckBox(QWidget* Parent) : TWinControl(Parent), box_(new QCheckBox(this)) {
    setFocusPolicy(Qt::NoFocus);
    SetInnerWidget(box_);
    // toggled comes for the user's clicks and for code alike, and only when the state changes.
    QObject::connect(box_, &QCheckBox::toggled, this, [this](bool) { Click(); });
}

std::string TCheckBox::Caption() const {
    return box_->text().toStdString();
}

void TCheckBox::SetCaption(const std::string& Value) {
    box_->setText(QString::fromStdString(Value));
}

int TCheckBox::FittingWidth() const {
    return box_->sizeHint().width();
}

bool TCheckBox::Checked() const {
    return box_->isChecked();
}

void TCheckBox::SetChecked(bool Value) {
    box_->setChecked(Value);
}

// The list inside a combo box: tells its box when its drop-down list has closed. Qt closes the list before it
// takes the picked item as the selection, so the box hears of it once the event at hand is done.
class TComboBox::TDropDownList : public QComboBox {
public:
    explicit TDropDownList(TComboBox* Box) : QComboBox(Box), box_(Box) {}
    void hidePopup() override {
        const bool wasShown = view() != nullptr && view()->isVisible();
        QComboBox::hidePopup();
        if (wasShown)
            QMetaObject::invokeMethod(
                box_,
                [box = QPointer<TComboBox>(box_)] {
                    if (box)
                        box->ListClosed();
                },
                Qt::QueuedConnection);
    }

private:
    TComboBox* box_;
};

TComboBox::TComboBox(QWidget* Parent) : TWinControl(Parent), combo_(new TDropDownList(this)) {
    setFocusPolicy(Qt::NoFocus);
    combo_->setEditable(false);
    SetInnerWidget(combo_);
    QObject::connect(combo_, &QComboBox::currentIndexChanged, this, [this](int) {
        if (!changingByCode_)
            CallEvent(OnChange, this);
    });
}

int TComboBox::Count() const {
    return combo_->count();
}

std::string TComboBox::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
    return combo_->itemText(Index).toStdString();
}

void TComboBox::Add(const std::string& Text) {
    changingByCode_ = true;
    combo_->addItem(QString::fromStdString(Text));
    // Adding the first item selects it in Qt; the class library's list starts without a selection.
    if (combo_->count() == 1)
        combo_->setCurrentIndex(-1);
    changingByCode_ = false;
}

void TComboBox::Insert(int Index, const std::string& Text) {
    if (Index < 0 || Index > Count())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
    changingByCode_ = true;
    const int selected = combo_->currentIndex();
    combo_->insertItem(Index, QString::fromStdString(Text));
    // Qt selects the first item put into an empty list, and keeps its selection on its item.
    combo_->setCurrentIndex(selected < 0 ? -1 : selected + (Index <= selected ? 1 : 0));
    changingByCode_ = false;
}

void TComboBox::Clear() {
    changingByCode_ = true;
    combo_->clear();
    changingByCode_ = false;
}

int TComboBox::ItemIndex() const {
    return combo_->currentIndex();
}

void TComboBox::SetItemIndex(int Value) {
    changingByCode_ = true;
    combo_->setCurrentIndex(Value >= 0 && Value < Count() ? Value : -1);
    changingByCode_ = false;
}

std::string TComboBox::Text() const {
    return ItemIndex() < 0 ? std::string() : combo_->currentText().toStdString();
}

int TComboBox::DropDownCount() const {
    return combo_->maxVisibleItems();
}

void TComboBox::SetDropDownCount(int Value) {
    combo_->setMaxVisibleItems(Value);
}

bool TComboBox::DroppedDown() const {
    return combo_->view() != nullptr && combo_->view()->isVisible();
}

void TComboBox::SetDroppedDown(bool Value) {
    if (Value)
        combo_->showPopup();
    else
        combo_->hidePopup();
}

void TComboBox::ListClosed() {
    CallEvent(OnCloseUp, this);
}

TEdit::TEdit(QWidget* Parent) : TWinControl(Parent), edit_(new QLineEdit(this)) {
    setFocusPolicy(Qt::NoFocus);
    SetInnerWidget(edit_);
    edit_->installEventFilter(this);
}

std::string TEdit::Text() const {
    return edit_->text().toStdString();
}

void TEdit::SetText(const std::string& Value) {
    edit_->setText(QString::fromStdString(Value));
}

bool TEdit::ReadOnly() const {
    return edit_->isReadOnly();
}

void TEdit::SetReadOnly(bool Value) {
    edit_->setReadOnly(Value);
}

void TEdit::ColorChanged() {
    QPalette p = edit_->palette();
    SetEnabledColor(p, QPalette::Base, ToQColor(Color()));
    edit_->setPalette(p);
}

bool TEdit::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched != edit_ || Event->type() != QEvent::KeyPress)
        return TWinControl::eventFilter(Watched, Event);
    const QString text = static_cast<QKeyEvent*>(Event)->text();
    if (text.isEmpty())
        return false;
    const char32_t typed = text.toUcs4().front();
    const bool typesACharacter = typed >= 32 ? typed != 127 : (typed == 8 || typed == 13 || typed == 27);
    if (!typesACharacter || !OnKeyPress)
        return false;
    char32_t key = typed;
    QPointer<TEdit> self(this);
    if (!CallEvent(OnKeyPress, this, key) || !self)
        return true;
    if (key == typed)
        return false;
    if (key != 0)
        edit_->insert(QString::fromUcs4(&key, 1));
    return true;
}

int TMemoLines::Count() const {
    const QString text = edit_->toPlainText();
    return text.isEmpty() && edit_->document()->blockCount() <= 1 ? 0 : edit_->document()->blockCount();
}

std::string TMemoLines::operator[](int Index) const {
    if (Index < 0 || Index >= Count())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
    return edit_->document()->findBlockByNumber(Index).text().toStdString();
}

void TMemoLines::Add(const std::string& Line) {
    if (Count() == 0 && edit_->toPlainText().isEmpty())
        edit_->setPlainText(QString::fromStdString(Line));
    else
        edit_->appendPlainText(QString::fromStdString(Line));
}

void TMemoLines::Clear() {
    edit_->clear();
}

std::string TMemoLines::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i)
        text += (*this)[i] + "\r\n";
    return text;
}

TMemo::TMemo(QWidget* Parent) : TWinControl(Parent), edit_(new QPlainTextEdit(this)), lines_(edit_) {
    setFocusPolicy(Qt::NoFocus);
    SetInnerWidget(edit_);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Like the class library's memo, no scroll bars unless asked for.
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetColor(clWindow);
}

bool TMemo::ReadOnly() const {
    return edit_->isReadOnly();
}

void TMemo::SetReadOnly(bool Value) {
    edit_->setReadOnly(Value);
}

void TMemo::SetBorderStyle(TBorderStyle Value) {
    edit_->setFrameShape(Value == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TMemo::SetWordWrap(bool Value) {
    edit_->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::ColorChanged() {
    TWinControl::ColorChanged();
    QPalette p = edit_->palette();
    SetEnabledColor(p, QPalette::Base, ToQColor(Color()));
    edit_->setPalette(p);
}

TGroupBox::TGroupBox(QWidget* Parent) : TControl(Parent), box_(new QGroupBox(this)) {
    SetInnerWidget(box_);
    box_->lower(); // the controls placed on the group box lie above its frame
}

std::string TGroupBox::Caption() const {
    return box_->title().toStdString();
}

void TGroupBox::SetCaption(const std::string& Value) {
    box_->setTitle(QString::fromStdString(Value));
}

} // namespace forms
