#include "platform/forms/StringList.h"

#include <algorithm>

#include "platform/win32/Files.h"

namespace forms {

bool SameText(std::string_view A, std::string_view B) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(),
                                              [&](char a, char b) { return lower(a) == lower(b); });
}

std::string LowerCase(std::string_view Text) {
    std::string lower(Text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

void TStringList::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index >= Limit)
        throw EClassLibraryError("List index out of bounds (" + std::to_string(Index) + ")");
}

const std::string& TStringList::operator[](int Index) const {
    CheckIndex(Index, Count());
    return items_[static_cast<std::size_t>(Index)];
}

void TStringList::Put(int Index, std::string Text) {
    CheckIndex(Index, Count());
    items_[static_cast<std::size_t>(Index)] = std::move(Text);
}

int TStringList::Add(std::string Text) {
    items_.push_back(std::move(Text));
    return Count() - 1;
}

void TStringList::Insert(int Index, std::string Text) {
    CheckIndex(Index, Count() + 1);
    items_.insert(items_.begin() + Index, std::move(Text));
}

void TStringList::Delete(int Index) {
    CheckIndex(Index, Count());
    items_.erase(items_.begin() + Index);
}

void TStringList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1, Count());
    CheckIndex(Index2, Count());
    std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
}

void TStringList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex, Count());
    CheckIndex(NewIndex, Count());
    std::string text = std::move(items_[static_cast<std::size_t>(CurIndex)]);
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, std::move(text));
}

void TStringList::AddStrings(const TStringList& Other) {
    items_.insert(items_.end(), Other.items_.begin(), Other.items_.end());
}

int TStringList::IndexOf(std::string_view Text) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (SameText(items_[i], Text))
            return static_cast<int>(i);
    return -1;
}

std::string TStringList::Text() const {
    std::string out;
    for (const auto& item : items_) {
        out += item;
        out += "\r\n";
    }
    return out;
}

void TStringList::SetText(std::string_view Text) {
    items_.clear();
    while (!Text.empty()) {
        auto end = Text.find_first_of("\r\n");
        items_.emplace_back(Text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        std::size_t skip = (Text[end] == '\r' && end + 1 < Text.size() && Text[end + 1] == '\n') ? 2 : 1;
        Text.remove_prefix(end + skip);
    }
}

void TStringList::LoadFromFile(const std::string& FileName) {
    auto contents = win32::ReadWholeFile(FileName);
    if (!contents)
        throw EClassLibraryError("Cannot open file \"" + FileName + "\".");
    SetText(*contents);
}

void TStringList::SaveToFile(const std::string& FileName) const {
    if (!win32::WriteFileAtomically(FileName, Text()))
        throw EClassLibraryError("Cannot create file \"" + FileName + "\".");
}

} // namespace forms
