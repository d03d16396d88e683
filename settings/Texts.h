// The bilingual catalogue: every text the program shows to the user, once,
// in French and in English. Texts are UTF-8 here; 8-bit data never passes
// through this file. Add new texts to the section of their window or area.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

enum class Lang { French, English };

// "english" (exactly, letter case counts) selects English; anything else French.
inline Lang LangOf(std::string_view language) {
    return language == "english" ? Lang::English : Lang::French;
}

struct BiText {
    const char* fr;
    const char* en;
    const char* In(Lang lang) const { return lang == Lang::English ? en : fr; }
};

// printf-style formatting of a catalogue text (%d, %s, %u, ...).
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

namespace txt {

// --- Archive reader -------------------------------------------------------
// ReadEntry / ReadDbdHeader on an EPD archive: the name is put between.
inline constexpr BiText EntryNotFound{"Fichier %s non trouvé", "%s file not found"};
inline constexpr BiText IndexNotFound{"Index %s non trouvé", "Index %s not found"};

// --- DBD reading and writing ----------------------------------------------
inline constexpr const char* LineError = "Erreur en ligne %d"; // both languages
inline constexpr BiText DbtNotFound{"Fichier DBT non trouvé", "DBT file not found"};
inline constexpr BiText StatusDiskDbd{
    "Fichier %s - Type de données : %s - %d enregistrements - %d octets",
    "File %s - Data type : %s - %d records - %d bytes"};
inline constexpr BiText StatusEpdDbd{
    "Fichier %s (Fly! 1) - Type de données : %s - %d enregistrements - %s - %d octets",
    "File %s (Fly! 1) - Data type : %s - %d records - %s - %d bytes"};
inline constexpr BiText StatusPodDbd{
    "Fichier %s (Fly! 2) - Type de données : %s - %d enregistrements - %s - %d octets",
    "File %s (Fly! 2) - Data type : %s - %d records - %s - %d bytes"};
inline constexpr BiText OpenDbdFilter{"Fichier DBD|*.dbd|Tous fichiers |*.*",
                                      "DBD files|*.dbd|All files |*.*"};
inline constexpr BiText SaveDbdFilter{"Fichiers DBD|*.DBD|Tous Fichiers|*.*",
                                      "DBD files|*.DBD|All files|*.*"};
inline constexpr BiText SaveDbdTitle{"Enregistrer le fichier DBD sous....", "Save DBD file as...."};
inline constexpr BiText UnknownTag{"Type d'enregistrement inconnu « %s » dans %s",
                                   "Unknown record type \"%s\" in %s"};

// --- Template ---------------------------------------------------------------
inline constexpr BiText DefinitionsSummary{"%s - %d champs", "%s - %d fields"};

// --- Record table -------------------------------------------------------------
inline constexpr BiText SelectLabel{"%d lignes sélectionnées", "%d selected lines"};
inline constexpr BiText DeleteLabel{"%d lignes à supprimer", "%d lines to delete"};
inline constexpr BiText ConfirmDeleteLine{
    "Vous allez supprimer une ligne. Confirmer en cliquant sur OK",
    "You are deleting a line. Please confirm if OK"};
inline constexpr BiText ConfirmEraseAll{"Vous allez effacer toutes vos données",
                                        "You are deleting all data"};
inline constexpr BiText ConfirmDeleteSelection{"Vous allez supprimer %d lignes",
                                               "You are deleting %d lines"};
inline constexpr BiText ConfirmSelectAll{"Attention vous allez modifier la sélection",
                                         "Caution, you are modifying selection"};
inline constexpr BiText ConfirmSelectNone{"Attention, vous allez effacer la sélection en cours",
                                          "Caution, you are deleting selection"};
inline constexpr BiText ConfirmSelectPart{"Attention, vous allez modifier la sélection en cours",
                                          "Caution, you are changing selection"};

// --- Value display --------------------------------------------------------------
inline constexpr const char* NotADate = "pas une date"; // both languages

} // namespace txt
} // namespace orvane
