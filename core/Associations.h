#pragma once
// File associations: the player's links of file extensions under HKEY_CLASSES_ROOT of the registry. An
// extension Ext (with its dot, ".mkv") is linked when its key's default value is its ProgID, "TarvexDVD" +
// Ext; the default it had before is kept in its value "TarvexDVD.backup" and given back when it is unlinked.
// The ProgID's key holds the icon and two verbs: Open plays the file ("/o"), Play adds it to the stored play
// list ("/a").
//
// Every procedure takes a registry object rooted at HKEY_CLASSES_ROOT, which the caller makes and frees; each
// closes the registry's open key before it returns. A failed write raises the registry's error.
//
// The registry is the player's record of its links. The desktop's own links (the platform's desktop link
// service) follow it: after each change they are made to link exactly the extensions the registry links with
// the player, with the program, its icon and the verb captions of `Language`.

#include <string>
#include <vector>

#include "platform/forms/Registry.h"

// "TarvexDVD" + Ext.
std::string ProgIdOf(const std::string& Ext);
// The name of the value that keeps an extension's previous default.
inline constexpr const char* AssociationBackupValue = "TarvexDVD.backup";

// Links Ext with the player: BackupAndPointExtension, then WriteProgIdKeys.
void AssociateExtension(const std::string& Ext, forms::TRegistry& Registry);
// Points Ext's key (made when missing) at the ProgID, keeping a default it had in the backup value unless a
// backup is kept already.
void BackupAndPointExtension(const std::string& Ext, forms::TRegistry& Registry);
// Writes the ProgID's keys: the icon, and the Open and Play verbs with their captions in the language of
// `Language` and their commands.
void WriteProgIdKeys(const std::string& Ext, forms::TRegistry& Registry);
// Gives a linked Ext its previous default back and drops the backup value. An extension that is not linked
// to the player (another program's, or unlinked already) is left as it is. The ProgID's keys stay.
void UnassociateExtension(const std::string& Ext, forms::TRegistry& Registry);
// True when Ext's key exists and its default value is the ProgID.
bool IsExtensionAssociated(const std::string& Ext, forms::TRegistry& Registry);

// The extensions that the registry links with the player, in the order of their keys.
std::vector<std::string> LinkedExtensions(forms::TRegistry& Registry);

// One change of the links: a click of the File link page, or AssociateExtension or UnassociateExtension on
// its own (each makes one, which nests in an outer one). Within it the registry's changes are kept in memory;
// Commit of the outermost makes the desktop's links follow them and then writes the registry once. When
// either write fails, Commit raises one error and the registry and the desktop's files stay as they were. An
// update that ends without Commit (an error on its way out) drops its changes.
//
// A registry store that cannot be read (damaged) is moved aside when the outermost update begins, and the
// user is told once; the links then start from an empty store. When it cannot be moved aside the update
// raises the registry's error and changes nothing.
class TAssociationUpdate {
public:
    explicit TAssociationUpdate(forms::TRegistry& Registry);
    ~TAssociationUpdate();
    TAssociationUpdate(const TAssociationUpdate&) = delete;
    TAssociationUpdate& operator=(const TAssociationUpdate&) = delete;

    void Commit();

private:
    forms::TRegistry& registry_;
    bool outermost_ = false;
    bool open_ = true;
};
