// The helper library's exports. Each runs its body inside one catch point: whatever goes wrong becomes the
// result HurlvanUnexpected and goes no further.

#include "helperlib/HurlvanApi.h"

#include <string>

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Registry.h"
#include "platform/win32/FileSearch.h"
#include "platform/win32/MessageBox.h"

namespace {

const std::string AppKey = "\\Software\\HurlvanWebCapture";

// Read-only, system and 0x40: ordinary files are found, folders and hidden entries are not.
constexpr int FileSearchMask = 69;

template <class Body> std::int32_t Guarded(Body&& Run) {
    try {
        Run();
        return HurlvanOk;
    } catch (...) {
        return HurlvanUnexpected;
    }
}

template <class T> T& Required(T* Pointer) {
    if (Pointer == nullptr)
        throw forms::EClassLibraryError("Access to a null object");
    return *Pointer;
}

std::string TextOf(const char* Text) {
    return Text != nullptr ? Text : "";
}

// The names of the files of Dir, each followed by one CR.
std::string FileListOf(const std::string& Dir) {
    if (Dir.empty())
        throw forms::EClassLibraryError("No folder to list");
    const std::string folder = Dir.back() == '/' ? Dir : Dir + "/";
    std::string files;
    win32::TSearchRec found;
    if (win32::FindFirst(folder + "*.*", FileSearchMask, found) == 0) {
        do {
            // Such a name would read as two names: on Linux a CR is a valid character of a file name.
            if (found.Name.find('\r') == std::string::npos)
                files += found.Name + '\r';
        } while (win32::FindNext(found) == 0);
        win32::FindClose(found);
    }
    return files;
}

thread_local std::string FilesText;
thread_local std::string ValueText;

} // namespace

extern "C" {

std::int32_t LoadFileFromDir(const char* Dir, const char** Files) {
    return Guarded([&] {
        const char*& out = Required(Files);
        std::string files = FileListOf(TextOf(Dir));
        FilesText = std::move(files);
        out = FilesText.c_str();
    });
}

std::int32_t RegAppKeyValue(const char* Name, const char* Value, std::uint8_t* Ok) {
    return Guarded([&] {
        std::uint8_t& ok = Required(Ok);
        ok = 0;
        forms::TRegistry registry;
        registry.SetRootKey(win32::HKEY_CURRENT_USER);
        const bool opened =
            registry.KeyExists(AppKey) ? registry.OpenKey(AppKey, false) : registry.OpenKey(AppKey, true);
        // A key that could not be opened must not send the value to the root key instead.
        if (!opened)
            throw forms::ERegistryException("Failed to open key " + AppKey);
        registry.WriteString(TextOf(Name), TextOf(Value));
        ok = 1;
    });
}

std::int32_t GetAppKeyValue(const char* Name, const char** Value) {
    return Guarded([&] {
        const char*& out = Required(Value);
        ValueText.clear();
        out = ValueText.c_str();
        forms::TRegistry registry;
        registry.SetRootKey(win32::HKEY_CURRENT_USER);
        if (registry.OpenKey(AppKey, false)) {
            ValueText = registry.ReadString(TextOf(Name));
            out = ValueText.c_str();
        } else {
            win32::MessageBox(nullptr, "Can not find Registry Information.", "Informtion", win32::MB_OK);
        }
    });
}

std::int32_t SetNodeImgIndex(forms::TTreeNode* Node, forms::TTreeView* TreeView) {
    return Guarded([&] {
        forms::TTreeView& view = Required(TreeView);
        forms::TTreeNode& node = Required(Node);
        if (&node == view.Selected()) {
            node.SetImageIndex(2);
            node.SetSelectedIndex(2);
        } else {
            node.SetImageIndex(0);
            node.SetSelectedIndex(1);
        }
    });
}

std::int32_t RightToSelected(std::int32_t Button, std::int32_t X, std::int32_t Y,
                             forms::TTreeView** TreeView) {
    return Guarded([&] {
        forms::TTreeView& view = Required(Required(TreeView));
        if (view.Items().Count() > 0 && Button == forms::mbRight)
            if (forms::TTreeNode* node = view.GetNodeAt(X, Y))
                node->SetSelected(true);
    });
}

std::int32_t LVRightToSelected(std::int32_t Button, std::int32_t X, std::int32_t Y,
                               forms::TListView** ListView) {
    return Guarded([&] {
        forms::TListView& view = Required(Required(ListView));
        if (view.Items().Count() > 0 && Button == forms::mbRight)
            if (forms::TListItem* item = view.GetItemAt(X, Y))
                item->SetSelected(true);
    });
}

std::int32_t DoNotEditNode(std::int32_t X, std::int32_t Y, forms::TTreeView** TreeView) {
    return Guarded([&] {
        forms::TTreeView& view = Required(Required(TreeView));
        forms::TTreeNode* node = view.GetNodeAt(X, Y);
        if (node != nullptr && node->Text() == "Recycle bin")
            node->EndEdit(true);
    });
}

std::int32_t ShowTemplateOrDB(const char* Dir, forms::TListView* ListView) {
    return Guarded([&] {
        forms::TListView& view = Required(ListView);
        const std::string dir = TextOf(Dir);
        const std::string files = FileListOf(dir);
        std::size_t start = 0;
        for (std::size_t end = files.find('\r'); end != std::string::npos; end = files.find('\r', start)) {
            forms::TListItem* item = view.Items().Add();
            item->SetCaption(files.substr(start, end - start));
            item->SubItems().Add(dir);
            start = end + 1;
        }
    });
}
}
