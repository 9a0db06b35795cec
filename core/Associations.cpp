#include "core/Associations.h"

#include "core/PlaybackState.h"
#include "core/shared/PathEndings.h"
#include "platform/forms/Forms.h"
#include "platform/win32/DesktopLinks.h"
#include "platform/win32/Files.h"
#include "platform/win32/MessageBox.h"

using forms::TRegistry;

namespace {

// Closes the registry's open key on every way out, an error of a write included.
class KeyCloser {
public:
    explicit KeyCloser(TRegistry& Registry) : registry_(Registry) {}
    ~KeyCloser() { registry_.CloseKey(); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    TRegistry& registry_;
};

// Keys are named from the root, whatever key the registry has open.
std::string FromRoot(const std::string& Key) {
    return "\\" + Key;
}

std::string Quoted(const std::string& Text) {
    return "\"" + Text + "\"";
}

// The captions of the Open and Play verbs in `Language`; none for another language code.
struct TVerbCaptions {
    bool Given = false;
    std::string Open, Play;
};

TVerbCaptions VerbCaptions() {
    if (State.Language == Languages::English)
        return {true, "Use TarvexDVD open", "Add to the play list of TarvexDVD"};
    if (State.Language == Languages::Chinese)
        return {true, "使用“Quorel播放”播放该文件", "添加该文件到“Quorel播放”的播放列表"};
    return {};
}

// What the desktop's links open: the running program, with its icon and the verbs' captions; its name is the
// one the captions give it.
win32::LinkedProgram PlayerProgram() {
    const TVerbCaptions captions = VerbCaptions();
    return {forms::Application().ExeName(), IncludeTrailingSlash(State.ImagePath) + "logo_s.ico",
            State.Language == Languages::Chinese ? "Quorel播放" : "TarvexDVD", captions.Open, captions.Play};
}

// Updates open now (GUI thread only): the first one is the outermost.
int openUpdates = 0;

// A damaged store would refuse every change, silently: it is kept aside for the user, as a damaged history
// is, and the links start from an empty store.
void KeepDamagedStoreAside(const std::string& Path) {
    const auto kept = win32::KeepDamagedFile(Path);
    if (!kept)
        throw forms::ERegistryException(
            "The registry store \"" + Path +
            "\" could not be read, nor moved aside. No file type was linked or unlinked.");
    forms::Application().MessageBox("The registry store \"" + Path +
                                        "\" could not be read. It was moved to \"" + *kept +
                                        "\" and the file links start empty.",
                                    "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
}

// Gives a linked Ext its previous default back (UnassociateExtension's change of the registry).
void RestorePreviousDefault(const std::string& Ext, TRegistry& Registry) {
    KeyCloser closer(Registry);
    if (!Registry.OpenKey(FromRoot(Ext), false))
        return;
    // A link that is not the player's (or no link) stays as it is: a header and the mass buttons of the
    // options dialog unlink an extension more than once.
    if (Registry.ReadString("") != ProgIdOf(Ext))
        return;
    std::string backup = Registry.ReadString(AssociationBackupValue);
    if (backup == ProgIdOf(Ext))
        backup.clear();
    Registry.WriteString("", backup);
    Registry.DeleteValue(AssociationBackupValue);
}

// Opens Key (making it when missing), writes Value as its default value when Value is given, and closes it.
void WriteKey(TRegistry& Registry, const std::string& Key, const std::string* Value) {
    KeyCloser closer(Registry);
    if (Registry.OpenKey(FromRoot(Key), true) && Value != nullptr)
        Registry.WriteString("", *Value);
}

} // namespace

std::string ProgIdOf(const std::string& Ext) {
    return "TarvexDVD" + Ext;
}

void AssociateExtension(const std::string& Ext, TRegistry& Registry) {
    TAssociationUpdate update(Registry);
    BackupAndPointExtension(Ext, Registry);
    WriteProgIdKeys(Ext, Registry);
    update.Commit();
}

void BackupAndPointExtension(const std::string& Ext, TRegistry& Registry) {
    KeyCloser closer(Registry);
    if (!Registry.OpenKey(FromRoot(Ext), true))
        return;
    const std::string old = Registry.ReadString("");
    const std::string backup = Registry.ReadString(AssociationBackupValue);
    Registry.WriteString("", ProgIdOf(Ext));
    if (!old.empty() && backup.empty())
        Registry.WriteString(AssociationBackupValue, old);
}

void WriteProgIdKeys(const std::string& Ext, TRegistry& Registry) {
    const std::string progId = ProgIdOf(Ext);
    const std::string icon = IncludeTrailingSlash(State.ImagePath) + "logo_s.ico, 0";
    const std::string program = Quoted(forms::Application().ExeName());
    const std::string openCommand = program + " " + Quoted("/o") + " " + Quoted("%1");
    const std::string playCommand = program + " " + Quoted("/a") + " " + Quoted("%1");
    const TVerbCaptions captions = VerbCaptions();
    WriteKey(Registry, progId + "\\DefaultIcon", &icon);
    WriteKey(Registry, progId + "\\Shell", nullptr);
    WriteKey(Registry, progId + "\\Shell\\Open", captions.Given ? &captions.Open : nullptr);
    WriteKey(Registry, progId + "\\Shell\\Open\\Command", &openCommand);
    WriteKey(Registry, progId + "\\Shell\\Play", captions.Given ? &captions.Play : nullptr);
    WriteKey(Registry, progId + "\\Shell\\Play\\Command", &playCommand);
}

void UnassociateExtension(const std::string& Ext, TRegistry& Registry) {
    TAssociationUpdate update(Registry);
    RestorePreviousDefault(Ext, Registry);
    update.Commit();
}

bool IsExtensionAssociated(const std::string& Ext, TRegistry& Registry) {
    KeyCloser closer(Registry);
    return Registry.OpenKeyReadOnly(FromRoot(Ext)) && Registry.ReadString("") == ProgIdOf(Ext);
}

std::vector<std::string> LinkedExtensions(TRegistry& Registry) {
    // One read of the store for all of them (none within an update).
    Registry.BeginUpdate();
    Registry.CloseKey();
    forms::TStringList names;
    Registry.GetKeyNames(names);
    std::vector<std::string> linked;
    for (const std::string& name : names)
        if (!name.empty() && name.front() == '.' && IsExtensionAssociated(name, Registry))
            linked.push_back(name);
    Registry.EndUpdate();
    return linked;
}

TAssociationUpdate::TAssociationUpdate(TRegistry& Registry) : registry_(Registry) {
    registry_.BeginUpdate();
    if (openUpdates == 0 && !registry_.StoreReadable()) {
        registry_.CancelUpdate();
        KeepDamagedStoreAside(registry_.StorePath());
        registry_.BeginUpdate();
    }
    outermost_ = openUpdates++ == 0;
}

TAssociationUpdate::~TAssociationUpdate() {
    if (!open_)
        return;
    --openUpdates;
    if (outermost_)
        registry_.CancelUpdate();
    else
        registry_.EndUpdate(); // an inner update writes nothing, so it cannot fail
}

void TAssociationUpdate::Commit() {
    if (!open_)
        return;
    open_ = false;
    --openUpdates;
    if (!outermost_) {
        registry_.EndUpdate();
        return;
    }
    // The desktop first: when its files cannot be written, the registry is not written either.
    win32::DesktopLinkService& desktop = win32::GetDesktopLinkService();
    const win32::LinkedProgram program = PlayerProgram();
    const std::string failure = desktop.LinkExtensions(LinkedExtensions(registry_), program);
    if (!failure.empty()) {
        registry_.CancelUpdate();
        throw forms::EClassLibraryError("Failed to link the file types in the desktop: " + failure);
    }
    try {
        registry_.EndUpdate();
    } catch (const forms::ERegistryException&) {
        // The registry stays as it was, and so must the desktop's links.
        desktop.LinkExtensions(LinkedExtensions(registry_), program);
        throw;
    }
}
