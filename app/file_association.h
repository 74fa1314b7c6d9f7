#pragma once
// Installs and removes the .skervo file type, so that a double-click on a
// script runs it.
#include <cstdint>
#include <string>

namespace skervo {

// What /Register or /Unregister came to: a deployment script run with
// /Silent learns it from the exit code alone.
enum class AssociationOutcome : std::uint32_t {
    Done = 0,
    Refused = 1,          // the program is one that others may change
    RegistryRefused = 2,  // a key could not be written or deleted
};

// Whether the user is told the outcome in a box.
enum class Telling { InABox, NotAtAll };

// Writes the four keys of the association, and the file type's EditFlags.
AssociationOutcome RegisterFileType(Telling telling);
// Deletes the six keys of the association. A key already absent is
// reported in the box, but counts as deleted in the outcome.
AssociationOutcome UnregisterFileType(Telling telling);

// Creates or opens a key under HKEY_CLASSES_ROOT and sets its default
// value; true when both succeeded.
bool WriteClassesValue(const std::string& keyPath, const std::string& data);

}  // namespace skervo
