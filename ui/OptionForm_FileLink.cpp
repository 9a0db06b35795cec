// The options dialog's File link page: 77 extensions in 8 groups as check boxes, each linked with the player
// in the registry, or unlinked, the moment its box changes.

#include <functional>

#include "core/Associations.h"
#include "core/PlaybackState.h"
#include "ui/OptionForm.h"

using namespace forms;

namespace {

struct TExtension {
    const char* Name;
    bool Default; // ticked by "Default"
};

struct TExtensionGroup {
    std::size_t HeaderText;
    std::vector<TExtension> Extensions;
};

const std::array<TExtensionGroup, ExtensionGroupCount>& Groups() {
    static const std::array<TExtensionGroup, ExtensionGroupCount> groups = {{
        {52, {{".asf", true}, {".wmv", true}, {".wmp", true}, {".wm", true}, {".wma", false}}},
        {53,
         {{".ra", true},
          {".ram", true},
          {".rm", true},
          {".rmvb", true},
          {".rpm", false},
          {".realpix", false},
          {".rt", false},
          {".smi", false},
          {".smil", false},
          {".scm", false}}},
        {54,
         {{".dat", false},
          {".mpg", true},
          {".mpeg", true},
          {".tp", false},
          {".ts", false},
          {".tpr", false},
          {".pva", false},
          {".pss", false},
          {".vob", true},
          {".mpe", true},
          {".wv", true},
          {".m2ts", false},
          {".evo", true}}},
        {55,
         {{".aif", true},
          {".aiff", true},
          {".aifc", true},
          {".amr", true},
          {".3gp", true},
          {".3gpp", true},
          {".3g2", true},
          {".3gp2", true},
          {".qt", true},
          {".mov", true}}},
        {56,
         {{".avi", true},
          {".mkv", true},
          {".ogm", true},
          {".mp4", true},
          {".m4v", true},
          {".m4p", true},
          {".m4b", true}}},
        {57, {{".flv", true}, {".swf", true}}},
        {58, {{".amv", true},  {".au", true},      {".acc", true},  {".ac3", true},  {".dsa", true},
              {".dsm", true},  {".dts", true},     {".dsv", true},  {".dss", false}, {".mp2", false},
              {".m1v", false}, {".m2v", true},     {".ogg", true},  {".pmp", true},  {".smk", true},
              {".bik", true},  {".ratDVD", false}, {".vg2", false}, {".ivf", false}, {".vp6", false},
              {".vp7", false}, {".d2v", false}}},
        {59,
         {{".asx", true},
          {".m3u", true},
          {".pls", true},
          {".wvx", true},
          {".wax", true},
          {".wmx", true},
          {".mpcpl", true},
          {".smpl", true}}},
    }};
    return groups;
}

// 1 for every box that "Default" ticks, in page order: each group's header (always 1), then its extensions.
const std::array<int, ExtensionBoxCount>& DefaultExtensionMask() {
    static const std::array<int, ExtensionBoxCount> mask = [] {
        std::array<int, ExtensionBoxCount> m{};
        std::size_t k = 0;
        for (const TExtensionGroup& group : Groups()) {
            m[k++] = 1;
            for (const TExtension& extension : group.Extensions)
                m[k++] = extension.Default ? 1 : 0;
        }
        return m;
    }();
    return mask;
}

bool IsExtension(const std::string& Caption) {
    return !Caption.empty() && Caption.front() == '.';
}

// The boxes of the scroll box, in page order.
std::vector<TCheckBox*> Boxes(TScrollBox* ScrollBox) {
    std::vector<TCheckBox*> boxes;
    for (int i = 0; i < ScrollBox->ControlCount(); ++i)
        if (auto* box = dynamic_cast<TCheckBox*>(ScrollBox->Controls(i)))
            boxes.push_back(box);
    return boxes;
}

} // namespace

std::unique_ptr<TRegistry> TOption_Form::ClassesRegistry() {
    auto registry = std::make_unique<TRegistry>();
    registry->SetRootKey(win32::HKEY_CLASSES_ROOT);
    return registry;
}

void TOption_Form::BuildExtensionGroups() {
    for (std::size_t g = 0; g < ExtensionGroups.size(); ++g) {
        ExtensionGroups[g].Clear();
        ExtensionGroups[g].Add(OptionTexts[Groups()[g].HeaderText]);
        for (const TExtension& extension : Groups()[g].Extensions)
            ExtensionGroups[g].Add(extension.Name);
    }
}

void TOption_Form::BuildFileLinkPage() {
    if (CurrentPage == OptionPages::FileLink)
        return;
    BuildingFileLinkPage = true;
    ClearPage();
    AddCaption(Component_P, OptionTexts[6], 10, 15);
    AddScrollPanel(Page.ExtensionPanel, Page.ExtensionScrollBox, 235, 30, 15, Component_P);
    const int top = Page.ExtensionPanel->Top() + Page.ExtensionPanel->Height() + 6;
    const std::array<std::pair<std::size_t, TNotifyEvent>, 3> buttons = {{
        {49, [this](TObject* Sender) { SelectAllExtensions(Sender); }},
        {50, [this](TObject* Sender) { SelectNoExtensions(Sender); }},
        {51, [this](TObject* Sender) { DefaultExtensions(Sender); }},
    }};
    const char* names[] = {"SelectAll_Btn", "SelectNone_Btn", "DefaultExtensions_Btn"};
    int left = 15;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        AddButton(Page.ExtensionButtons[i], Component_P, 90, 21, top, left, buttons[i].second,
                  OptionTexts[buttons[i].first]);
        Page.ExtensionButtons[i]->SetName(names[i]);
        left += 95;
    }
    AddAllExtensionBoxes();
    CurrentPage = OptionPages::FileLink;
    BuildingFileLinkPage = false;
}

void TOption_Form::AddAllExtensionBoxes() {
    // One registry object for the whole page, in one update: the store is read once, not once per box (a
    // large store made the page crawl).
    const auto registry = ClassesRegistry();
    registry->BeginUpdate();
    int top = 0;
    for (const TStringList& group : ExtensionGroups)
        AddExtensionBoxes(group, top, *registry);
    registry->EndUpdate();
}

void TOption_Form::AddExtensionBoxes(const TStringList& Group, int& Top, TRegistry& Registry) {
    int inRow = 0;
    for (int i = 0; i < Group.Count(); ++i) {
        auto* box = new TCheckBox(Page.ExtensionScrollBox->Content());
        box->SetCaption(Group[i]);
        box->OnClick = [this](TObject* Sender) { ExtensionBoxClick(Sender); };
        if (i == 0) {
            const int headerTop = Top == 0 ? 10 : Top + 20;
            Top = headerTop;
            box->SetBounds(15, headerTop, 160, 17);
            box->SetName("ExtensionGroup_" + Group[i]);
        } else {
            if (++inRow % 4 == 1)
                Top += 20;
            box->SetBounds(BoxColumns[static_cast<std::size_t>(i % 4)], Top, 80, 17);
            box->SetName("Extension" + Group[i]);
        }
        // A header names no extension and starts unticked; the box's click does nothing while the page
        // builds.
        box->SetChecked(IsExtensionAssociated(Group[i], Registry));
    }
}

void TOption_Form::ApplyExtensionBox(TCheckBox* Box, TRegistry& Registry) {
    if (Box->Checked())
        AssociateExtension(Box->Caption(), Registry);
    else
        UnassociateExtension(Box->Caption(), Registry);
}

void TOption_Form::ExtensionBoxClick(TObject* Sender) {
    if (BuildingFileLinkPage || Page.ExtensionScrollBox == nullptr)
        return;
    auto* clicked = dynamic_cast<TCheckBox*>(Sender);
    if (clicked == nullptr)
        return;
    // One click's changes: one write of the registry, and of the desktop's links.
    const auto registry = ClassesRegistry();
    TAssociationUpdate update(*registry);
    if (IsExtension(clicked->Caption()))
        ApplyExtensionBox(clicked, *registry);
    else
        ApplyHeaderBox(clicked, *registry);
    update.Commit();
}

void TOption_Form::ApplyHeaderBox(TCheckBox* Header, TRegistry& Registry) {
    const bool ticked = Header->Checked();
    // The boxes below the header, down to the next header (a box at the header's Left further down).
    const std::vector<TCheckBox*> boxes = Boxes(Page.ExtensionScrollBox);
    const int left = Header->Left();
    const int top = Header->Top();
    std::size_t first = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->Top() == top)
            first = i + 1;
    std::size_t last = boxes.size();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->Left() == left && boxes[i]->Top() > top) {
            last = i;
            break;
        }
    for (std::size_t i = first; i < last; ++i) {
        boxes[i]->SetChecked(ticked);
        ApplyExtensionBox(boxes[i], Registry);
    }
}

void TOption_Form::SetExtensionBoxes(const std::function<bool(std::size_t)>& Ticked) {
    if (CurrentPage != OptionPages::FileLink || Page.ExtensionScrollBox == nullptr)
        return;
    const auto registry = ClassesRegistry();
    TAssociationUpdate update(*registry);
    const std::vector<TCheckBox*> boxes = Boxes(Page.ExtensionScrollBox);
    for (std::size_t k = 0; k < boxes.size(); ++k)
        boxes[k]->SetChecked(Ticked(k));
    for (TCheckBox* box : boxes)
        if (IsExtension(box->Caption()))
            ApplyExtensionBox(box, *registry);
    update.Commit();
}

void TOption_Form::SelectAllExtensions(TObject*) {
    SetExtensionBoxes([](std::size_t) { return true; });
}

void TOption_Form::SelectNoExtensions(TObject*) {
    SetExtensionBoxes([](std::size_t) { return false; });
}

void TOption_Form::DefaultExtensions(TObject*) {
    const auto& mask = DefaultExtensionMask();
    SetExtensionBoxes([&mask](std::size_t Box) { return Box < mask.size() && mask[Box] == 1; });
}
