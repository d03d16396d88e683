// The catalogue's texts for the errors of the platform layer (files and
// folders). They belong to the one catalogue, which includes this file; they
// are written here because the platform layer sits below settings/.
#pragma once

#include "platform/Wording.h"

namespace orvane::txt {

// A file's path, then the system's reason where one follows.
inline constexpr BiText ReadOnlyTarget{"%s est en lecture seule", "%s is read-only"};
inline constexpr BiText CannotCreateFolder{"Impossible de créer le dossier %s : %s",
                                           "Cannot create folder %s: %s"};
inline constexpr BiText CannotCreateFile{"Impossible de créer le fichier %s : %s",
                                         "Cannot create file %s: %s"};
inline constexpr BiText CannotCreateOverFolder{
    "Impossible de créer le fichier %s : c'est un dossier",
    "Cannot create file %s: it is a folder"};
inline constexpr BiText CannotOpenFile{"Impossible d'ouvrir le fichier %s : %s",
                                       "Cannot open file %s: %s"};
inline constexpr BiText CannotWriteFile{"Impossible d'écrire le fichier %s : %s",
                                        "Cannot write file %s: %s"};
inline constexpr BiText WriteErrorIn{"Erreur d'écriture dans %s : %s", "Write error in %s: %s"};
// A file renamed into place whose folder could not be put on the disk: the
// file, the system's reason.
inline constexpr BiText InPlaceNotOnDisk{
    "%s est en place, mais il n'est peut-être pas encore sur le disque : %s",
    "%s is in place, but it may not be on the disk yet: %s"};
inline constexpr BiText CannotReadSize{"Impossible de lire la taille de %s : %s",
                                       "Cannot read the size of %s: %s"};
// The offset, the file.
inline constexpr BiText CannotSeek{"Impossible d'aller à la position %llu dans %s",
                                   "Cannot seek to offset %llu in %s"};
// The file, the offset, the system's reason.
inline constexpr BiText ReadErrorAt{"Erreur de lecture dans %s à la position %llu : %s",
                                    "Read error in %s at offset %llu: %s"};
// The file, the bytes wanted, the offset, the bytes there were.
inline constexpr BiText ShortRead{
    "Erreur de lecture dans %s : %llu octets demandés à la position %llu, le fichier se termine "
    "après %llu",
    "Read error in %s: %llu bytes wanted at offset %llu, the file ends after %llu"};
// A file used before it was opened: what was tried (below), the file.
inline constexpr BiText FileNotOpen{"%s : fichier non ouvert : %s", "%s: file not open: %s"};
// Why a temporary file was not renamed into place: its path.
inline constexpr BiText TemporaryReplaced{"le fichier temporaire %s a été remplacé par un autre",
                                          "the temporary file %s was replaced by another"};
// A long value shortened in a message: its first characters, its length.
inline constexpr BiText ShortenedValue{"%s… (%llu caractères)", "%s… (%llu characters)"};
inline constexpr BiText ReadErrorWord{"Erreur de lecture", "Read error"};
inline constexpr BiText WriteErrorWord{"Erreur d'écriture", "Write error"};

} // namespace orvane::txt
