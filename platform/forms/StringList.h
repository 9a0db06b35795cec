#pragma once
// The class library's string list: an ordered list of 8-bit (UTF-8) texts with case-insensitive look-up.
// Files are split at CR LF, LF or CR; saving writes CR LF after every line. The list is shared across the
// program and the dialog library, so its layout must stay the same in both.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// Raised by the class library for a file that cannot be opened or written, or an index out of range.
class EClassLibraryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TStringList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }

    // Raises EClassLibraryError for an index outside 0 .. Count-1 ("List index out of bounds (N)").
    const std::string& operator[](int Index) const;
    void Put(int Index, std::string Text);

    int Add(std::string Text);
    void Insert(int Index, std::string Text);
    void Delete(int Index);
    void Clear() { items_.clear(); }
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    void Assign(const TStringList& Other) { items_ = Other.items_; }
    void AddStrings(const TStringList& Other);

    // The first index whose text equals Text without regard to ASCII case, or -1.
    int IndexOf(std::string_view Text) const;

    // The lines joined, each followed by CR LF.
    std::string Text() const;
    // Replaces the contents with the lines of Text (split at CR LF, LF or CR; a final line end adds no line).
    void SetText(std::string_view Text);

    // Raises EClassLibraryError when the file cannot be read or written. Saving replaces the file atomically.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const;

    const std::vector<std::string>& Items() const { return items_; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    void CheckIndex(int Index, int Limit) const;
    std::vector<std::string> items_;
};

// Case-insensitive (ASCII) equality, the comparison every look-up of the player uses.
bool SameText(std::string_view A, std::string_view B);
// Text with the ASCII capitals made small: equal for two texts exactly when SameText holds (a key for sets).
std::string LowerCase(std::string_view Text);

} // namespace forms
