#include "core/Associations.h"

#include "core/PlaybackState.h"
#include "core/shared/PathEndings.h"
#include "platform/forms/Forms.h"

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
    BackupAndPointExtension(Ext, Registry);
    WriteProgIdKeys(Ext, Registry);
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
    std::string openCaption, playCaption;
    const bool captioned = State.Language == Languages::English || State.Language == Languages::Chinese;
    if (State.Language == Languages::English) {
        openCaption = "Use TarvexDVD open";
        playCaption = "Add to the play list of TarvexDVD";
    } else if (State.Language == Languages::Chinese) {
        openCaption = "使用“Quorel播放”播放该文件";
        playCaption = "添加该文件到“Quorel播放”的播放列表";
    }
    WriteKey(Registry, progId + "\\DefaultIcon", &icon);
    WriteKey(Registry, progId + "\\Shell", nullptr);
    WriteKey(Registry, progId + "\\Shell\\Open", captioned ? &openCaption : nullptr);
    WriteKey(Registry, progId + "\\Shell\\Open\\Command", &openCommand);
    WriteKey(Registry, progId + "\\Shell\\Play", captioned ? &playCaption : nullptr);
    WriteKey(Registry, progId + "\\Shell\\Play\\Command", &playCommand);
}

void UnassociateExtension(const std::string& Ext, TRegistry& Registry) {
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

bool IsExtensionAssociated(const std::string& Ext, TRegistry& Registry) {
    KeyCloser closer(Registry);
    return Registry.OpenKeyReadOnly(FromRoot(Ext)) && Registry.ReadString("") == ProgIdOf(Ext);
}
