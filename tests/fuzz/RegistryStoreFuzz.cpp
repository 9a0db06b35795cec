// Fuzzes the registry store's file format with any file contents, as the store reads it: either the text is
// refused as damaged, or its keys are read; what the store would write for them reads back as the same text;
// every key reached through its parents' names is found again by its path, in any case; and keys made,
// values set (any bytes) and keys erased on top of what was read are written so that they read back.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/RegistryContents.h"
#include "tests/fuzz/FuzzCheck.h"

using win32::RegistryContents;
using win32::RegistryKeyPath;

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "registry store", What);
}

std::string Upper(std::string Text) {
    for (char& c : Text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return Text;
}

// Every key below Root that its parents' names reach (at most a few hundred), with its path.
std::vector<std::pair<RegistryKeyPath, RegistryContents::Index>> KeysBelow(const RegistryContents& Contents,
                                                                           win32::HKEY Root) {
    std::vector<std::pair<RegistryKeyPath, RegistryContents::Index>> keys;
    const auto root = Contents.Find(Root, {});
    if (root == RegistryContents::None)
        return keys;
    std::vector<std::pair<RegistryKeyPath, RegistryContents::Index>> waiting = {{{}, root}};
    while (!waiting.empty() && keys.size() < 300) {
        auto [path, key] = std::move(waiting.back());
        waiting.pop_back();
        for (const std::string& name : Contents.SubKeyNames(key)) {
            RegistryKeyPath below = path;
            below.push_back(name);
            const auto found = Contents.Find(Root, below);
            Check(found != RegistryContents::None, "a key listed below its parent is found by its path");
            keys.emplace_back(below, found);
            waiting.emplace_back(below, found);
        }
    }
    return keys;
}

// Contents written and read again; the text it reads as.
RegistryContents Reread(const RegistryContents& Contents) {
    const std::string text = Contents.Serialize();
    auto again = RegistryContents::Parse(text);
    Check(again.has_value(), "what the store writes it reads");
    Check(again->Serialize() == text, "what the store writes reads back as the same text");
    return std::move(*again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view text(reinterpret_cast<const char*>(Data), Size);
    auto contents = RegistryContents::Parse(text);
    if (!contents)
        return 0;
    RegistryContents again = Reread(*contents);

    for (win32::HKEY root : {win32::HKEY_CURRENT_USER, win32::HKEY_CLASSES_ROOT}) {
        for (const auto& [path, key] : KeysBelow(*contents, root)) {
            RegistryKeyPath upper;
            for (const std::string& name : path)
                upper.push_back(Upper(name));
            Check(contents->Find(root, upper) == key, "names are found without regard to case");
            const auto reread = again.Find(root, path);
            Check(reread != RegistryContents::None, "every key survives the file");
            Check(again.Value(reread, "") == contents->Value(key, ""), "default values survive the file");
        }
    }

    // Changes on top of what was read: a key made below a name of the input, a value of the input's bytes,
    // the first key of a root erased with what is below it.
    std::string name(text.substr(0, 16));
    std::erase_if(name,
                  [](char c) { return c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
    const RegistryKeyPath made = {"Fuzz", name.empty() ? "x" : name};
    bool madeAny = false;
    const auto key = contents->Ensure(win32::HKEY_CURRENT_USER, made, madeAny);
    const std::string value(text.substr(0, 64));
    contents->SetValue(key, value, value);
    const auto classes = contents->Find(win32::HKEY_CLASSES_ROOT, {});
    RegistryKeyPath erased;
    if (classes != RegistryContents::None && !contents->SubKeyNames(classes).empty()) {
        erased = {contents->SubKeyNames(classes).front()};
        contents->Erase(contents->Find(win32::HKEY_CLASSES_ROOT, erased));
        Check(contents->Find(win32::HKEY_CLASSES_ROOT, erased) == RegistryContents::None,
              "an erased key is gone");
    }
    const auto made2 = contents->Find(win32::HKEY_CURRENT_USER, made);
    Check(made2 != RegistryContents::None && contents->Value(made2, value) == value,
          "a key made keeps its value when others go");
    RegistryContents changedAgain = Reread(*contents);
    const auto reread = changedAgain.Find(win32::HKEY_CURRENT_USER, made);
    Check(reread != RegistryContents::None && changedAgain.Value(reread, value) == value,
          "a value of any bytes survives the file");
    if (!erased.empty())
        Check(changedAgain.Find(win32::HKEY_CLASSES_ROOT, erased) == RegistryContents::None,
              "an erased key stays gone in the file");
    return 0;
}
