#include "platform/forms/ColorBox.h"

#include <array>
#include <utility>

#include <QComboBox>
#include <QPixmap>

#include "platform/forms/StringList.h"

namespace forms {

namespace {

constexpr TColor clOlive = 0x008080;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;

const std::array<std::pair<TColor, const char*>, 16> StandardColors = {{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
}};

} // namespace

TColorBox::TColorBox(QWidget* Parent) : TWinControl(Parent), combo_(new QComboBox(this)) {
    setFocusPolicy(Qt::NoFocus);
    combo_->setEditable(false);
    SetInnerWidget(combo_);
    changingByCode_ = true;
    for (const auto& [color, name] : StandardColors) {
        QPixmap swatch(16, 12);
        swatch.fill(ToQColor(color));
        // The name without the "cl" of the class library's constant.
        combo_->addItem(QIcon(swatch), QString::fromLatin1(name + 2));
    }
    combo_->setCurrentIndex(0);
    changingByCode_ = false;
    QObject::connect(combo_, &QComboBox::currentIndexChanged, this, [this](int) {
        if (!changingByCode_)
            CallEvent(OnChange, this);
    });
}

int TColorBox::Count() const {
    return static_cast<int>(StandardColors.size());
}

std::string TColorBox::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
    return StandardColors[static_cast<std::size_t>(Index)].second;
}

TColor TColorBox::Colors(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
    return StandardColors[static_cast<std::size_t>(Index)].first;
}

TColor TColorBox::Selected() const {
    const int index = ItemIndex();
    return index < 0 ? clBlack : Colors(index);
}

void TColorBox::SetSelected(TColor Value) {
    int found = -1;
    for (int i = 0; i < Count(); ++i)
        if (Colors(i) == Value)
            found = i;
    changingByCode_ = true;
    combo_->setCurrentIndex(found);
    changingByCode_ = false;
}

int TColorBox::ItemIndex() const {
    return combo_->currentIndex();
}

} // namespace forms
