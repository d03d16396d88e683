// The bilingual catalogue: every text the program shows to the user, once,
// in French and in English. Texts are UTF-8 here; 8-bit data never passes
// through this file. Add new texts to the section of their window or area.
#pragma once

#include "platform/FileTexts.h"
#include "platform/Wording.h"

#include <string>
#include <string_view>

namespace orvane {

// "english" (exactly, letter case counts) selects English; anything else French.
inline Lang LangOf(std::string_view language) {
    return language == "english" ? Lang::English : Lang::French;
}

// A text about a count, in its singular and plural forms. French puts 0 and
// 1 in the singular ("0 modifié", "1 modifié"), English only 1 ("0 changed
// rows", "1 changed row").
struct CountText {
    BiText one;
    BiText many;
    const char* In(Lang lang, long long count) const {
        const bool single = lang == Lang::English ? count == 1 : count > -2 && count < 2;
        return (single ? one : many).In(lang);
    }
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

// --- Archive viewer -----------------------------------------------------------
// Status after listing: archive file name, entry count, total of the entry sizes.
inline constexpr BiText ArchiveListStatus{"%s - %d fichiers pour %d octets",
                                          "%s - %d files for %d bytes"};

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

inline constexpr BiText BadNumber{"Ligne %d, champ « %s » : « %s » n'est pas un nombre valide",
                                  "Row %d, field \"%s\": \"%s\" is not a valid number"};
inline constexpr BiText BadWholeNumber{
    "Ligne %d, champ « %s » : « %s » n'est pas un nombre entier valide",
    "Row %d, field \"%s\": \"%s\" is not a valid whole number"};
inline constexpr BiText TextTooLong{
    "Ligne %d, champ « %s » : le texte « %s » dépasse les %d caractères du champ",
    "Row %d, field \"%s\": the text \"%s\" is longer than the field's %d characters"};
// The template's record size, the file, the file's record size.
inline constexpr BiText ShortRecords{
    "Le modèle décrit des enregistrements de %d octets ; %s contient des enregistrements de %d "
    "octets",
    "The template describes %d-byte records; %s holds %d-byte records"};
inline constexpr BiText NoTableLoaded{"Aucune table chargée", "No table loaded"};
inline constexpr BiText BadRecordSize{
    "%s : taille d'enregistrement %d invalide (de %d à %d octets)",
    "%s: invalid record size %d (%d to %d bytes)"};
inline constexpr BiText BadRecordCount{
    "%s : %d enregistrements de %d octets ne tiennent pas dans le fichier",
    "%s: %d records of %d bytes do not fit in the file"};
inline constexpr BiText NoSimulatorVersion{
    "Aucune version du simulateur n'est choisie (menu Options)",
    "No simulator version is chosen (Options menu)"};
inline constexpr BiText CannotOpenArchive{"Impossible d'ouvrir l'archive %s",
                                          "Cannot open the archive %s"};
inline constexpr BiText NotEnoughMemory{"mémoire insuffisante pour charger %d enregistrements",
                                        "not enough memory to load %d records"};

// --- Faults of archives, exports and templates ------------------------------------
// A failed close after a record was written into an archive: the system's error.
inline constexpr BiText ArchiveCloseAfterWrite{
    "%s : l'enregistrement écrit n'est peut-être pas sur le disque",
    "%s: the record written may not be on the disk"};
// The direct write into an archive opened read-only: its path.
inline constexpr BiText ArchiveReadOnly{"%s est en lecture seule : rien n'y est écrit",
                                        "%s is read-only: nothing is written into it"};
// The direct write into an archive that is no longer the file the table
// was loaded from (replaced, rewritten, its entry moved): its path.
inline constexpr BiText ArchiveChanged{
    "%s a changé depuis son ouverture (un autre programme l'a remplacé ou réécrit) : rien n'y "
    "est écrit ; rechargez-le avant d'écrire",
    "%s has changed since it was opened (another program replaced or rewrote it): nothing is "
    "written into it; reload it before writing"};
// After ArchiveChanged, in the same box: what a reload does.
inline constexpr BiText ReloadChangedArchive{
    "Recharger l'archive maintenant ? Les lignes pas encore écrites y perdront leurs "
    "modifications.",
    "Load the archive again now? Rows not yet written lose their changes."};
// The direct write into an archive another writer holds locked: its path.
inline constexpr BiText ArchiveBusy{
    "%s est occupé : un autre programme y écrit ; rien n'y est écrit, réessayez plus tard",
    "%s is busy: another program is writing into it; nothing is written, try again later"};
// The GeoJSON export of rows whose coordinates are no place: the first such
// row, how many there are.
inline constexpr BiText GeoJsonRowsWithoutPlace{
    "Ligne %d : coordonnées hors limites, la ligne est écrite sans géométrie (%d lignes en tout)",
    "Row %d: coordinates out of range, the row is written without a geometry (%d rows in all)"};
// A cell the CSV format cannot hold: row, field title, the character (below).
inline constexpr BiText CsvUnwritableCell{
    "Ligne %d, champ %s : le texte contient %s, qu'un fichier CSV ne peut pas contenir ; "
    "rien n'est écrit",
    "Row %d, field %s: the text holds %s, which a CSV file cannot hold; nothing is written"};
inline constexpr BiText CsvCharSemicolon{"un « ; »", "a \";\""};
inline constexpr BiText CsvCharCr{"un retour chariot (CR)", "a carriage return (CR)"};
inline constexpr BiText CsvCharLf{"un saut de ligne (LF)", "a line feed (LF)"};
inline constexpr BiText CsvCharNul{"un octet nul (NUL)", "a NUL byte"};
// The data check's line for such a cell: its text (escaped), the character.
inline constexpr BiText CheckCsvUnwritable{"« %s » contient %s : l'export CSV le refuse",
                                           "\"%s\" holds %s: the CSV export refuses it"};
// Two template fields sharing bytes: name, first and last byte of each.
inline constexpr BiText TemplateOverlap{
    "Modèle : les champs %s (octets %d à %d) et %s (octets %d à %d) se recouvrent ; "
    "un enregistrement réécrit peut changer",
    "Template: the fields %s (bytes %d to %d) and %s (bytes %d to %d) overlap; a record "
    "written again may change"};

// --- Errors of settings, archives, templates, extraction and the demo ----------
// A settings entry that would break the file: section, key.
inline constexpr BiText SettingsEntryRefused{
    "Impossible d'écrire l'entrée de réglage [%s] %s : son nom ou sa valeur casserait le fichier",
    "Cannot write the settings entry [%s] %s: its name or value would break the file"};
// A damaged archive: its path, then one of the faults below.
inline constexpr BiText DamagedArchive{"%s : archive endommagée : %s", "%s: damaged archive: %s"};
// The file's size, the header's size.
inline constexpr BiText ArchiveShorterThanHeader{
    "le fichier (%llu octets) est plus court que son en-tête de %d octets",
    "the file (%llu bytes) is shorter than its %d-byte header"};
inline constexpr BiText ArchiveShorterThanPod3{
    "le fichier (%llu octets) est plus court que son en-tête POD3 de 288 octets",
    "the file (%llu bytes) is shorter than its 288-byte POD3 header"};
inline constexpr BiText NegativeEntryCount{"nombre d'entrées négatif %d",
                                           "negative entry count %d"};
inline constexpr BiText DirectoryPastEnd{
    "la position du répertoire %llu est au-delà de la fin du fichier (%llu octets)",
    "directory offset %llu is past the end of the file (%llu bytes)"};
inline constexpr BiText EntryCountTooLarge{
    "le nombre d'entrées %d ne tient pas dans le fichier (%llu octets)",
    "entry count %d does not fit in the file (%llu bytes)"};
// The names read, the names announced.
inline constexpr BiText NameListEnds{
    "la liste des noms se termine avec le fichier après %llu noms sur %llu",
    "the name list ends with the file after %llu of %llu names"};
// The entry's name, offset and size, the file's size.
inline constexpr BiText EntryPastEnd{
    "entrée %s (position %llu, %llu octets) au-delà de la fin du fichier (%llu octets)",
    "entry %s (offset %llu, %llu bytes) runs past the end of the file (%llu bytes)"};
inline constexpr BiText EntryShorterThanHeader{
    "entrée %s (%llu octets) plus courte que son en-tête de %llu octets",
    "entry %s (%llu bytes) is shorter than its %llu-byte header"};
// The index's name, its row count and row length.
inline constexpr BiText IndexNegative{
    "index %s : nombre de lignes ou longueur négatif (%d lignes de %d octets)",
    "index %s has a negative row count or length (%d rows of %d bytes)"};
inline constexpr BiText IndexTooLarge{
    "index %s (%d lignes de %d octets) : ne tient pas dans le fichier",
    "index %s (%d rows of %d bytes) does not fit in the file"};
inline constexpr BiText ArchiveNotOpen{"Erreur de lecture : l'archive %s n'est pas ouverte",
                                       "Read error: the archive %s is not open"};
inline constexpr BiText NotAnArchive{"Erreur de lecture : %s n'est pas une archive EPD ou POD",
                                     "Read error: %s is not an EPD or POD archive"};
inline constexpr BiText HeaderNotRead{"Erreur de lecture : l'en-tête de %s n'a pas été lu",
                                      "Read error: the header of %s was not read"};
// The archive, the record's byte, the entry.
inline constexpr BiText AirportRecordUnreadable{
    "Erreur de lecture : %s : l'enregistrement d'aéroport à l'octet %lld de %s est illisible",
    "Read error: %s: the airport record at byte %lld of %s cannot be read"};
inline constexpr BiText NotADbd{
    "%s : ce n'est pas un fichier DBD (%llu octets, moins que son en-tête de 56 octets)",
    "%s: not a DBD file (%llu bytes, shorter than its 56-byte header)"};
inline constexpr BiText EntryShorterThanDbdHeader{
    "%s : l'entrée %s est plus courte qu'un en-tête DBD",
    "%s: the entry %s is shorter than a DBD header"};
inline constexpr BiText ArchiveTooLarge{"Archive trop grande : les positions sont limitées à 4 Gio",
                                        "Archive too large: offsets are limited to 4 GiB"};
inline constexpr BiText EntryNameZero{"Le nom d'entrée d'archive contient un octet nul : %s",
                                      "Archive entry name holds a zero byte: %s"};
inline constexpr BiText EntryNameTooLong{"Nom d'entrée d'archive de plus de %llu octets : %s",
                                         "Archive entry name longer than %llu bytes: %s"};
// Template faults. The item, what it stands for (below), the line.
inline constexpr BiText TemplateNotWhole{
    "Modèle : « %s » n'est pas un nombre entier valide (%s de la ligne « %s »)",
    "Template: \"%s\" is not a valid whole number (%s in line \"%s\")"};
inline constexpr BiText TemplateOffsetWord{"position", "offset"};
inline constexpr BiText TemplateWidthWord{"largeur", "width"};
inline constexpr BiText TemplateCountWord{"nombre de champs", "field count"};
inline constexpr BiText TemplateFewItems{
    "Modèle : la définition de champ « %s » a moins de cinq éléments",
    "Template: field definition \"%s\" has fewer than five items"};
// The field, its offset and width, the largest record, the line.
inline constexpr BiText TemplateFieldOutside{
    "Modèle : le champ « %s » (position %d, largeur %d) ne tient pas dans un enregistrement de "
    "%d octets (ligne « %s »)",
    "Template: field \"%s\" (offset %d, width %d) does not fit in a record of %d bytes (line "
    "\"%s\")"};
inline constexpr BiText TemplateEmpty{"Modèle : le texte est vide", "Template: the text is empty"};
inline constexpr BiText TemplateNegativeCount{"Modèle : nombre de champs négatif",
                                              "Template: negative field count"};
inline constexpr BiText TemplateMissingLines{
    "Modèle : %d champs annoncés, %llu lignes de définition trouvées",
    "Template: %d fields announced, %llu definition lines found"};
// An archive entry the extraction refuses: its name, then why (below).
inline constexpr BiText EntryRefused{"Entrée « %s » refusée : %s", "Entry \"%s\" refused: %s"};
inline constexpr BiText RefusedEmptyName{"le nom est vide", "the name is empty"};
inline constexpr BiText RefusedAbsolute{"le nom commence par un séparateur (un chemin absolu)",
                                        "the name starts with a separator (an absolute path)"};
inline constexpr BiText RefusedDrive{"le nom commence par une lettre de lecteur",
                                     "the name starts with a drive letter"};
inline constexpr BiText RefusedParent{"le nom sort du dossier (« .. »)",
                                      "the name leads out of the folder (\"..\")"};
inline constexpr BiText RefusedColon{
    "une partie du nom porte une marque de lecteur ou de flux (« : »)",
    "a part of the name holds a drive or stream mark (\":\")"};
inline constexpr BiText RefusedNotFile{"le nom ne désigne pas un fichier",
                                       "the name does not name a file"};
// Why a folder could not be made.
inline constexpr BiText FileInTheWay{"un fichier de ce nom est en travers",
                                     "a file of that name is in the way"};
inline constexpr BiText NoEntryNumber{"Pas d'entrée numéro %d dans %s", "No entry number %d in %s"};
// The demo folder's faults: the data type, the text, the field.
inline constexpr BiText DemoTextTooLong{"démo %s : « %s » ne tient pas dans le champ %s",
                                        "demo %s: \"%s\" does not fit in field %s"};
inline constexpr BiText DemoNoAirport{"démo : pas d'aéroport %s", "demo: no airport %s"};
inline constexpr BiText DemoNoRecord{"démo : pas d'enregistrement où %s vaut %s",
                                     "demo: no record with %s %s"};
inline constexpr BiText DemoFolderFault{"dossier de démo : %s", "demo folder: %s"};
inline constexpr BiText DemoRecordNotLoaded{
    "dossier de démo : un enregistrement ne s'est pas chargé",
    "demo folder: a record did not load"};
inline constexpr BiText DemoNoFolder{"make-demo : aucun dossier donné",
                                     "make-demo: no folder given"};
inline constexpr BiText DemoDbdNotLoaded{"dossier de démo : %s.dbd ne s'est pas chargé",
                                         "demo folder: %s.dbd did not load"};
// The batch tool's faults.
inline constexpr BiText CliNotArchive{
    "%s : ce n'est pas une archive (l'extension doit être .epd ou .pod)",
    "%s: not an archive (the extension must be .epd or .pod)"};
inline constexpr BiText CliCannotOpenArchive{"impossible d'ouvrir l'archive %s : %s",
                                             "cannot open the archive %s: %s"};
inline constexpr BiText CliNoTableLoaded{"aucune table n'a pu être chargée de %s",
                                         "no table could be loaded from %s"};

// --- Exchange files ------------------------------------------------------------
inline constexpr BiText DexSaveFilter{"Fichier Export|*.dex|Tous fichiers |*.*",
                                      "Export file|*.dex|All files |*.*"};
inline constexpr BiText DexOpenFilter{"Fichier Import|*.dex|Tous fichiers |*.*",
                                      "Import file|*.dex|All files |*.*"};
inline constexpr BiText CsvSaveFilter{"Fichier Export Excel|*.csv|Tous fichiers |*.*",
                                      "Export Excel file|*.csv|All files |*.*"};
inline constexpr BiText CsvOpenFilter{"Fichier CSV Excel|*.csv|Tous fichiers |*.*",
                                      "Excel CSV file|*.csv|All files |*.*"};
// The save filter of a format the design gave none: its name, its patterns.
inline constexpr BiText FormatSaveFilter{"Fichier %s|%s|Tous fichiers |*.*",
                                         "%s file|%s|All files |*.*"};
inline constexpr BiText ExportSaveTitle{"Enregistrer le fichier export sous....",
                                        "Save export file as...."};
// The DEX and the CSV export differ in the English text.
inline constexpr BiText NoSelectedRecords{"Aucun enregistrement sélectionné",
                                          "No selected records"};
inline constexpr BiText NoSelectedRecord{"Aucun enregistrement sélectionné", "No selected record"};
inline constexpr BiText AddedDataMismatch{"Données ajoutées incompatibles avec celles en mémoire",
                                          "Added data inconciliable with those in memory"};
inline constexpr BiText DexFly1Question{
    "Vous allez importer des données au format Fly! version 1.\r\nElles seront automatiquement "
    "converties.\r\nLe fichier DEX original ne sera pas converti.\r\nAppuyez sur OK pour "
    "continuer, sur Cancel pour abandonner.",
    "DEX file in Fly!1 version.\r\nData will be converted in Fly!2 version.\r\nOriginal DEX file "
    "unchanged.\r\nClick OK to continue or Cancel to abort."};
inline constexpr BiText DexFly2Refused{
    "Les données que vous voulez importez sont au format Fly!2\r\nL'importation est impossible",
    "The data you want to import are in the Fly!2 format.\r\nThey cannot be imported while "
    "Fly! 1 is the current version."};
inline constexpr BiText StatusDex{
    "Fichier %s - Type de données : %s - %d enregistrements - %s %d octets",
    "File %s - Data type : %s - %d records - %s %d bytes"};
inline constexpr BiText StatusCsv{"Fichier %s - Type de données : %s - %d enregistrements",
                                  "File %s - Data type : %s - %d records"};
inline constexpr BiText DexTooShort{
    "%s : ce n'est pas un fichier DEX (%d octets, moins que son en-tête de 40 octets)",
    "%s: not a DEX file (%d bytes, shorter than its 40-byte header)"};
inline constexpr BiText DexNoDataType{
    "%s : l'en-tête du fichier DEX ne nomme aucun type de données",
    "%s: the DEX header names no data type"};
inline constexpr BiText CsvNoDataType{"%s : la première ligne ne nomme aucun type de données",
                                      "%s: the first line names no data type"};

// --- Template ---------------------------------------------------------------
inline constexpr CountText DefinitionsSummary{{"%s - %d champ", "%s - %d field"},
                                              {"%s - %d champs", "%s - %d fields"}};

// --- Record table -------------------------------------------------------------
inline constexpr CountText SelectLabel{{"%d ligne sélectionnée", "%d selected line"},
                                       {"%d lignes sélectionnées", "%d selected lines"}};
inline constexpr CountText DeleteLabel{{"%d ligne à supprimer", "%d line to delete"},
                                       {"%d lignes à supprimer", "%d lines to delete"}};
inline constexpr BiText ConfirmDeleteLine{
    "Vous allez supprimer une ligne. Confirmer en cliquant sur OK",
    "You are deleting a line. Please confirm if OK"};
inline constexpr BiText ConfirmEraseAll{"Vous allez effacer toutes vos données",
                                        "You are deleting all data"};
inline constexpr CountText ConfirmDeleteSelection{
    {"Vous allez supprimer %d ligne", "You are deleting %d line"},
    {"Vous allez supprimer %d lignes", "You are deleting %d lines"}};
inline constexpr BiText ConfirmSelectAll{"Attention vous allez modifier la sélection",
                                         "Caution, you are modifying selection"};
inline constexpr BiText ConfirmSelectNone{"Attention, vous allez effacer la sélection en cours",
                                          "Caution, you are deleting selection"};
inline constexpr BiText ConfirmSelectPart{"Attention, vous allez modifier la sélection en cours",
                                          "Caution, you are changing selection"};
// Limits of the table's memory a very large file can meet, and rows put
// back or reordered that do not fit the table (a fault of the program).
inline constexpr BiText TableRowTooLarge{"Ligne de table trop grande (plus de 2 Go de texte)",
                                         "Table row too large (more than 2 GB of text)"};
inline constexpr BiText TableTooLargeToSort{
    "Table trop grande pour être triée (plus de 4 294 967 295 lignes)",
    "Table too large to sort (more than 4,294,967,295 rows)"};
inline constexpr BiText TableRowsBeyondEnd{"Lignes remises au-delà de la fin de la table",
                                           "Rows put back beyond the end of the table"};
inline constexpr BiText TableOrderOfOtherTable{"Ordre de lignes d'une autre table",
                                               "Row order of another table"};

// --- Value display --------------------------------------------------------------
inline constexpr const char* NotADate = "pas une date"; // both languages

// --- Main window ----------------------------------------------------------------
inline constexpr BiText MainCaption{"Orvane v1.13 - Editeur de fichier POD/EPD pour Fly! 1 et 2",
                                    "Orvane v1.13 - EPD/POD Editor for Fly! 1 & 2"};
inline constexpr BiText MenuFichierDBD{"Fichier DBD", "DBD Files"};
inline constexpr BiText MenuPodOuvrir{"Ouvrir un DBD à partir d'un EPD ou POD",
                                      "Open a DBD file from a POD"};
inline constexpr BiText MenuDbdOuvrir{"Ouvrir un DBD", "Open a DBD file"};
inline constexpr BiText MenuDbdEnregistrerTout{"Enregistrer tout (DBD)", "Save all (DBD)"};
inline constexpr BiText MenuDbdEnregistrerSelect{"Enregistrer la sélection (DBD)",
                                                 "Save selection (DBD)"};
inline constexpr const char* MenuPodOuvrirLigne =
    "Ouvrir un DBD pour écriture directe (Fly2!)"; // both languages
inline constexpr const char* MenuPodEnregistrerLigne =
    "Enregistrer la ligne n° ? dans le POD"; // both languages, until a cell click
inline constexpr const char* MenuPodModeNormal = "Revenir au mode normal"; // both languages
inline constexpr BiText MenuFichierDEX{"Fichier DEX", "DEX Files"};
inline constexpr BiText MenuDexOuvrir{"Ouvrir un DEX", "Open a DEX"};
inline constexpr BiText MenuDexEnregistrerTout{"Exporter tout (DEX)", "Export all (DEX)"};
inline constexpr BiText MenuDexEnregistrerSelect{"Exporter sélection (DEX)",
                                                 "Export selection (DEX)"};
inline constexpr BiText MenuDexAjouter{"Ajouter un DEX", "Add a DEX"};
inline constexpr BiText MenuFichierCSV{"Fichier CSV", "CSV Files"};
// The exports of the formats without a menu of their own, for maps and
// geographic information systems ("%s": the format's name). The titles'
// first letters leave the other menus their keys.
inline constexpr BiText MenuAutresFormats{"Sortie SIG", "GIS Export"};
inline constexpr BiText MenuExportAllAs{"Exporter tout (%s)", "Export all (%s)"};
inline constexpr BiText MenuExportSelectionAs{"Exporter sélection (%s)", "Export selection (%s)"};
inline constexpr BiText MenuCsvImport{"Ouvrir un CSV", "Open a CSV"};
inline constexpr BiText MenuCsvEnregistrerTout{"Exporter tout (CSV)", "Export all (CSV)"};
inline constexpr BiText MenuCsvEnregistrerSelect{"Exporter la sélection (CSV)", "Export selection"};
inline constexpr BiText MenuCsvAjouter{"Ajouter un CSV", "Add a CSV"};
inline constexpr BiText MenuOutils{"Outils", "Tools"};
inline constexpr BiText MenuExtractionPod{"Extraction POD", "Extract POD"};
inline constexpr const char* MenuLancerDexImport = "DexImport"; // both languages
inline constexpr BiText MenuLancerDBImport{"DB Import", "Run DBImport"};
inline constexpr BiText MenuPournepasoublier{"Pour ne pas oublier", "Memo"};
inline constexpr BiText MenuOptions{"Options", "Options"};
inline constexpr BiText MenuInitialisation{"Initialisation répertoire", "Directory init"};
// The language the user can switch to.
inline constexpr BiText MenuLangage{"English", "Français"};
inline constexpr const char* MenuFly11 = "Fly! 1"; // both languages
inline constexpr const char* MenuFly21 = "Fly! 2"; // both languages
inline constexpr BiText MenuImprimer{"Imprimer", "Print"};
inline constexpr BiText MenuAide{"Aide", "Help"};
inline constexpr BiText MenuApropos{"A propos", "About"};
inline constexpr BiText MenuAideHTML{"Aide HTML", "HTML help"};
inline constexpr BiText MenuQuitter{"Quitter", "Quit"};

// --- Which file, and saving it ----------------------------------------------------
// The window's title once a table is in: the file's name, then "[*]" where
// the window shows its unsaved mark (both languages).
inline constexpr const char* WindowTitle = "%s[*] \xE2\x80\x94 Orvane";
// Between an archive's name and its entry's name ("AIRPORT.POD ▸ DATABASE\AIRPORT.DBD").
inline constexpr const char* ArchiveEntrySeparator = " \xE2\x96\xB8 ";
inline constexpr BiText MenuEnregistrer{"Enregistrer", "Save"};
// Before a load or the end of the program replaces a table with unsaved
// changes: Save, Discard or Cancel.
inline constexpr BiText UnsavedChangesSave{
    "Le tableau contient des modifications non enregistrées.\r\n"
    "Les enregistrer avant de continuer ?",
    "The table holds changes that were not saved.\r\nSave them before going on?"};
inline constexpr BiText MenuRecents{"Fichiers récents", "Recent files"};
// A recent file that is gone (its path).
inline constexpr BiText RecentFileMissing{
    "Le fichier %s n'existe plus : il est retiré de la liste des fichiers récents.",
    "The file %s no longer exists: it leaves the recent files list."};
inline constexpr BiText MenuRouvrirDernier{"Rouvrir le dernier tableau au démarrage",
                                           "Reopen the last table at start"};
inline constexpr BiText MenuAffichage{"Affichage", "View"};
inline constexpr BiText MenuVoirVerification{"Panneau de vérification", "Check panel"};
inline constexpr BiText MenuVoirComparaison{"Panneau de comparaison", "Comparison panel"};
inline constexpr BiText MenuVoirMondeReel{"Panneau des données réelles", "Real-world panel"};
inline constexpr BiText MenuVoirCarte{"Carte", "Map"};
inline constexpr BiText TabVueGlobale{"Vue globale", "Records"};
inline constexpr BiText TabDefinitions{"Définitions", "Definition"};
inline constexpr BiText GbChercher{"Chercher", "Find"};
inline constexpr BiText GbEdition{"Edition", "Edit"};
inline constexpr const char* GbExport = "Export"; // both languages
inline constexpr BiText LblNomUndefined{"tous les champs", "all fields"};
inline constexpr BiText BtnChercher1{"Cherche =", "Find ="};
inline constexpr BiText BtnChercher2{"Cherche *", "Find *"};
inline constexpr BiText BtnOACI{"Arpt OACI", "Arpt ICAO"};
inline constexpr BiText BtnEffacerTout{"Tout effacer", "Erase all"};
inline constexpr BiText BtnInserLigne{"Insérer ligne", "Insert line"};
inline constexpr BiText BtnAjoutFin{"Ajouter ligne à la fin", "Add a line at the end"};
inline constexpr BiText BtnSuppSelect{"Supprimer sélection", "Erase selection"};
inline constexpr BiText BtnSuppLigne{"Supprimer ligne", "Erase a line"};
inline constexpr BiText BtnSelectionAll{"Tout sélectionner", "Select all"};
inline constexpr BiText BtnSelectionNone{"Tout désélectionner", "Unselect all"};
inline constexpr BiText BtnSelectPart{"Sélection partielle", "Select part"};
// Heading of the "Modif" column.
inline constexpr BiText HeadingModif{"Modif", "Change"};
// Captions that name the clicked row.
inline constexpr BiText BtnSuppLigneN{"Supprimer ligne n°%d", "Erase line n°%d"};
inline constexpr BiText BtnInserLigneN{"Insérer ligne après n°%d", "Insert line after n°%d"};
inline constexpr BiText MenuPodEnregistrerLigneN{"Enregistrer la ligne n°%d dans le POD",
                                                 "Save line n°%d in POD"};
// A command failed with an error that carries no text of its own.
inline constexpr const char* UnexpectedError =
    "Erreur inattendue : la commande est abandonnée.\r\n"
    "Unexpected error: the command was abandoned."; // both languages at once
// The language command's warning, in both languages at once.
inline constexpr const char* RestartForLanguage =
    "Vous devez redémarrer ce programme pour la prise en compte de la \r\nlangue.\r\n"
    "You have to restart this program to change the language.";

// --- Direct write -----------------------------------------------------------------
inline constexpr BiText Fly2Only{"Fly! 2 seulement", "Fly! 2 only"};
// Row number, first and last row that have a record.
inline constexpr BiText RowWithoutRecord{
    "La ligne %d n'a pas d'enregistrement dans l'archive (lignes 1 à %d)",
    "Row %d has no record in the archive (rows 1 to %d)"};
inline constexpr BiText ArchiveNotOpenForWrite{
    "Ce tableau n'a pas été ouvert à partir d'une archive POD : écriture directe impossible",
    "This table was not opened from a POD archive: it cannot be written back directly"};
// Row, field title, cell text.
inline constexpr BiText NotSigned32{
    "Ligne %d, champ « %s » : « %s » n'est pas un entier de -2147483648 à 2147483647",
    "Row %d, field \"%s\": \"%s\" is not a whole number from -2147483648 to 2147483647"};
// Row, record position, archive size.
inline constexpr BiText RecordOutsideEntry{
    "La ligne %d (enregistrement à l'octet %lld) dépasse l'entrée DBD de l'archive",
    "Row %d (record at byte %lld) lies beyond the archive's DBD entry"};

// --- Search -------------------------------------------------------------------------
inline constexpr BiText BtnSuivant1{"Suivant =", "Next ="};
inline constexpr BiText BtnSuivant2{"Suivant *", "Next *"};
inline constexpr BiText SearchEndedTitle{"Recherche terminée", "Search ended"};
inline constexpr BiText ValueNotInFile{"Valeur absente du fichier", "Value not in file"};
inline constexpr BiText ValueNotInFileEnded{"Valeur absente du fichier. Recherche terminée",
                                            "Value not in file. Search ended"};
// The insert button's caption after a search hit (a cell click says "after").
inline constexpr BiText SearchInserLigneN{"Insérer ligne n°%d", "Insert line n°%d"};

// --- Airport lookup -----------------------------------------------------------------
inline constexpr BiText AirportDbdNotFound{"Fichier AIRPORT.DBD non trouvé",
                                           "AIRPORT.DBD file not found"};
// The code as searched (upper case).
inline constexpr BiText IcaoNotFound{"Code OACI « %s » absent de l'index des aéroports",
                                     "ICAO code \"%s\" is not in the airport index"};
// Archive, index row, its record position, the DBD entry's size.
inline constexpr BiText IcaoBadPosition{
    "%s : la ligne %d de l'index pointe à l'octet %u, hors de l'entrée AIRPORT.DBD (%u octets)",
    "%s: index row %d points at byte %u, outside the AIRPORT.DBD entry (%u bytes)"};
// Archive, row length.
inline constexpr BiText IcaoBadRowLength{
    "%s : lignes d'index de %d octets, trop courtes (9 octets au moins)",
    "%s: index rows of %d bytes are too short (9 bytes at least)"};

// --- Start-up ---------------------------------------------------------------------
inline constexpr const char* ApplicationTitle = "Zaziver1";
inline constexpr const char* FlyVersionUnknown = "Fly! version ?"; // both languages
inline constexpr const char* FlyVersionFormat = "Fly! version %d"; // both languages
inline constexpr BiText OpenFilterAll{"Tous fichiers |*.*", "All files |*.*"};
inline constexpr BiText OpenFilterFly1{
    "Fichier EPD - Fly! I|*.EPD|Fichier POD - Fly! II|*.pod|Tous fichiers |*.*",
    "EPD files - Fly! I|*.EPD|POD files - Fly! II|*.pod|All files |*.*"};
inline constexpr BiText OpenFilterFly2{
    "Fichier POD - Fly! II|*.pod|Fichier EPD - Fly! I|*.EPD|Tous fichiers |*.*",
    "POD files - Fly! II|*.pod|EPD files - Fly! I|*.EPD|All files |*.*"};
inline constexpr BiText FirstRunNotice{
    "Vous utilisez Orvane pour la première fois.\r\nVous devez initialiser les répertoires de "
    "travail.",
    "You are running Orvane for the first time.\r\nYou must init work directories."};

// --- Directories dialog -------------------------------------------------------------
inline constexpr BiText InitTitle{"Initialisation répertoires", "Directory init"};
inline constexpr const char* InitGroupFly1 = "Fly! 1"; // both languages
inline constexpr const char* InitGroupFly2 = "Fly! 2"; // both languages
inline constexpr BiText InitLabelFly1{"Répertoire de Fly!", "Fly! Directory"};
inline constexpr BiText InitLabelFly2{"Répertoire de Fly! II", "Fly! Directory"};
inline constexpr BiText InitLabelWork{"Répertoire de travail", "Work Directory"};
inline constexpr BiText InitLabelDB{"Emplacement de DBImport/DOSmport", "DBImport Directory"};
inline constexpr BiText InitLabelDex{"Emplacement de DexImport", "DexImport Directory"};
inline constexpr BiText InitBrowse{"Rechercher", "Browse"};
inline constexpr BiText InitVersion{"Version par défaut", "Default version"};
inline constexpr const char* InitVersionItem1 = "1 - Fly! ";  // both languages
inline constexpr const char* InitVersionItem2 = "2 - Fly!II"; // both languages
inline constexpr BiText InitOpen{"Ouvrir", "Open"};
inline constexpr BiText InitSave{"Enregistrer", "Save"};
inline constexpr BiText InitCancel{"Annuler", "Cancel"};
inline constexpr BiText InitIniFilter{"Fichiers ini|*.ini|Tous fichiers|*.*",
                                      "ini files|*.ini|All files|*.*"};
inline constexpr BiText InitPickFolder{"Choisissez un répertoire", "Select a directory"};

// --- Record editor ------------------------------------------------------------------
inline constexpr BiText EditorCaption{"Saisie et modifcations des données", "Data change"};
// The buttons of the record editor and of its two entry dialogs.
inline constexpr BiText DialogClose{"Fermer", "Close"};
inline constexpr BiText DialogCancel{"Annuler", "Cancel"};
inline constexpr BiText EditorPrint{"Imprimer", "Print"};
inline constexpr const char* EditorPageTab = "Page %d"; // both languages
inline constexpr BiText EditorHeadingTitle{"Libellé du champ", "Name"};
inline constexpr BiText EditorHeadingType{"Type", "Type"};
inline constexpr BiText EditorHeadingWidth{"Long", "Long"};
inline constexpr BiText EditorHeadingValue{"Valeur", "Value"};
// The checks' messages: French in both languages, except IntegerRequested when
// the editing of a value ends.
inline constexpr BiText IntegerRequested{"Données incorrectes : nombre entier demandé",
                                         "Incorrect data : integer number requested"};
inline constexpr const char* DecimalRequested = "Données incorrectes : nombre décimal demandé";
inline constexpr const char* ByteRangeOnly = "Valeur numérique de 0 à 255 seulement";
inline constexpr const char* LineCut = "Ligne trop longue. La ligne a été coupée";
inline constexpr const char* LineLimited = "Ligne limitée à %s caractères"; // the width text
inline constexpr const char* InputErrorTitle = "Erreur de saisie";
// Print titles of the three pages: data type, table row (both languages).
inline constexpr const char* EditorPrintTitle1 = "%s - ligne %d - colonne  1 à 30";
inline constexpr const char* EditorPrintTitle2 = "%s - ligne %d - colonne 31 à 60";
inline constexpr const char* EditorPrintTitle3 = "%s - ligne %d - colonne 61 à 90";
// A press on a coordinate whose partner field does not exist: the field title.
inline constexpr BiText NoLongitudeAfter{"Aucun champ de longitude ne suit la latitude « %s »",
                                         "No longitude field follows the latitude \"%s\""};
inline constexpr BiText NoLatitudeBefore{"Aucun champ de latitude ne précède la longitude « %s »",
                                         "No latitude field precedes the longitude \"%s\""};
// "Fermer" with a changed value that breaks its field's rule: title, page, row, value.
inline constexpr BiText EditorValueRefused{
    "Champ « %s » (page %d, ligne %d) : la valeur « %s » est incorrecte.\r\nCorrigez-la ou "
    "annulez.",
    "Field \"%s\" (page %d, row %d): the value \"%s\" is incorrect.\r\nCorrect it or cancel."};
// Closing the record editor without "Fermer" while its values differ from the row's.
inline constexpr BiText EditorDiscardChanges{
    "Les valeurs modifiées de cet enregistrement seront perdues.\r\nFermer sans les reporter "
    "dans la table ?",
    "The changed values of this record will be lost.\r\nClose without carrying them into the "
    "table?"};

// --- Byte value entry ---------------------------------------------------------------
inline constexpr BiText HexaCaption{"Saisie", "Data entry"};
inline constexpr BiText HexaModeFrame{"Type de saisie", "Input type"};
inline constexpr BiText HexaModeHexadecimal{"héxadécimal (00..FF)", "hexadecimal (00..FF)"};
inline constexpr BiText HexaModeDecimal{"décimal (0..255)", "decimal (0..255)"};
inline constexpr BiText HexaModeCharacter{"un caractère   (A..Z,a..z)",
                                          "one character   (A..Z,a..z)"};
inline constexpr BiText HexaModeYesNo{"oui/non", "yes/no"};
inline constexpr BiText HexaLabelHexadecimal{"héxadécimal", "hexadecimal"};
inline constexpr BiText HexaLabelDecimal{"décimal", "decimal"};
inline constexpr const char* HexaLabelCharacter = "alpha"; // both languages
inline constexpr BiText HexaLabelYesNo{"Oui/Non", "Yes/No"};
inline constexpr BiText HexaYesBox{"Oui si sélectionné", "Yes if selected"};
inline constexpr const char* BadHexCharacter = "Caractère incorrect"; // both languages
inline constexpr BiText NoCharacterChosen{
    "Aucun caractère : tapez un caractère ou choisissez une lettre dans la liste",
    "No character: type a character or choose a letter from the list"};

// --- Latitude and longitude entry -----------------------------------------------------
inline constexpr BiText LatLonCaption{"Saisie latitude et longitude",
                                      "Latitude and longitude seizure"};
// Row and field captions, both languages.
inline constexpr const char* LatLonLabelLatitude = "Latitude   :";
inline constexpr const char* LatLonLabelLongitude = "Longitude :";
inline constexpr const char* LatLonLabelDegrees = "deg";
inline constexpr const char* LatLonLabelMinutes = "min";
inline constexpr const char* LatLonLabelSeconds = "sec";
// French in both languages.
inline constexpr const char* NorthSouthOnly = "N ou S seulement";
inline constexpr const char* EastWestOnly = "E ou W seulement";
inline constexpr const char* LatitudeDegreesRange = "Latitude comprise entre +90 et -90";
inline constexpr const char* LongitudeDegreesRange = "Longitude comprise entre +180 et -180";
// Minutes and seconds of both coordinates.
inline constexpr const char* MinutesSecondsRange = "Longitude comprise entre +60 et -60";
// "Fermer" with a number field that is not a number: the field's caption, its text.
inline constexpr BiText LatLonNotANumber{"%s %s : « %s » n'est pas un nombre",
                                         "%s %s: \"%s\" is not a number"};

// --- Printing -------------------------------------------------------------------------
inline constexpr BiText PrintRangeCaption{"Impression", "Print"};
inline constexpr BiText PrintFirstLine{"Première ligne", "First line"};
inline constexpr BiText PrintLastLine{"Dernière ligne", "Last line"};
inline constexpr BiText PrintMaxiColumns{"Nbre maxi colonnes", "Maxi column number"};
inline constexpr BiText PrintFlagColumnsNote{
    "Les 4 premières colonnes de gauche ne sont pas imprimées",
    "First four columns are not printed"};
inline constexpr const char* PrintSelectionButton = "Imprimer sélection"; // both languages
inline constexpr const char* PrintAllButton = "Imprimer tout";            // both languages
inline constexpr const char* PrintCancelButton = "Annuler";               // both languages
inline constexpr BiText PrintLastBeforeFirst{"La dernière ligne doit être supérieure à la première",
                                             "Last line number must be greater than first one"};
// The table's row count, heading row included.
inline constexpr BiText PrintAllQuestion{
    "Attention vous allez imprimer %d lignes.\r\nConfirmez ou annulez.",
    "Do you want realy print %d lines.\r\nConfirm or cancel."};
inline constexpr BiText PrintNoColumn{
    "Aucune colonne à imprimer : le nombre maxi de colonnes doit être au moins 1",
    "Nothing to print: the maximum column number must be 1 or more"};
// First and last row asked, last data row of the table.
inline constexpr BiText PrintNoRow{
    "Aucune ligne à imprimer : les lignes %d à %d sont hors du tableau (lignes 1 à %d)",
    "Nothing to print: lines %d to %d are outside the table (lines 1 to %d)"};
// A box of the print range window that does not hold a whole number.
inline constexpr BiText PrintNotWholeNumber{"« %s » n'est pas un nombre entier valide",
                                            "\"%s\" is not a valid whole number"};
// Page number and page count in the page header.
inline constexpr const char* PrintPageNumber = "%d/%d"; // both languages

// --- Exchange, direct write, archive viewer and progress (the windows) ----------------
// After an export: record count, file name.
inline constexpr CountText ExportDone{
    {"%d enregistrement exporté dans %s", "%d record exported to %s"},
    {"%d enregistrements exportés dans %s", "%d records exported to %s"}};
// After an in-place write: row, archive file name.
inline constexpr BiText RowWritten{"Ligne %d écrite dans %s", "Line %d written to %s"};
inline constexpr BiText EpdNeverWritten{
    "Les archives EPD de Fly! 1 ne sont jamais écrites : la ligne %d n'a pas été écrite",
    "Fly! 1 EPD archives are never written: line %d was not written"};
inline constexpr BiText LoadedBeforeDirectWrite{
    "Ce tableau a été ouvert avant le mode écriture directe : ouvrez l'archive par « Ouvrir un DBD "
    "pour écriture directe (Fly2!) » avant d'écrire une ligne",
    "This table was opened before the direct-write mode: open the archive with \"Ouvrir un DBD "
    "pour écriture directe (Fly2!)\" before writing a line"};
inline constexpr BiText PodviewCaption{"Exploser un fichier EPD...", "Explode an EPD file..."};
inline constexpr BiText PodviewOpen{"&Ouvrir", "Open"};
inline constexpr BiText PodviewExtract{"&Extraire", "Extract"};
inline constexpr BiText PodviewErase{"Effacer", "Erase"};
inline constexpr BiText PodviewStructure{"Recréer la structure du répertoire",
                                         "Create directory structure"};
inline constexpr BiText PodviewHeadingName{"Nom fichier", "File name"};
inline constexpr BiText PodviewHeadingFolder{"Chemin", "Directory"};
inline constexpr BiText PodviewHeadingSize{"Taille", "Size"};
inline constexpr const char* PodviewHeadingMark = "sel";  // both languages
inline constexpr const char* PodviewHeadingDate = "Date"; // both languages
inline constexpr BiText PodviewMarkAllHint{"Cliquez pour tout marquer, puis pour tout démarquer",
                                           "Click to mark every file, then to unmark them all"};
inline constexpr BiText PodviewFolderTitle{"Dossier où extraire les fichiers",
                                           "Folder to extract the files into"};
// Files written, folder.
inline constexpr CountText PodviewExtracted{
    {"%d fichier extrait dans %s", "%d file extracted to %s"},
    {"%d fichiers extraits dans %s", "%d files extracted to %s"}};
inline constexpr CountText PodviewExtractStopped{
    {"Extraction interrompue : %d fichier extrait dans %s",
     "Extraction stopped: %d file extracted to %s"},
    {"Extraction interrompue : %d fichiers extraits dans %s",
     "Extraction stopped: %d files extracted to %s"}};
inline constexpr BiText PodviewNothingMarked{
    "Aucun fichier marqué : cliquez sur les lignes à extraire (ou sur l'en-tête « sel »)",
    "No file marked: click the rows to extract (or the \"sel\" heading)"};
// Progress dialogs: the file (or folder) the work is on.
inline constexpr BiText ProgressLoad{"Chargement de %s...", "Loading %s..."};
inline constexpr BiText ProgressImport{"Lecture de %s...", "Reading %s..."};
inline constexpr BiText ProgressExport{"Écriture de %s...", "Writing %s..."};
inline constexpr BiText ProgressExtract{"Extraction dans %s...", "Extracting to %s..."};
inline constexpr BiText ProgressCancel{"Annuler", "Cancel"};

// --- Record editor, entry dialogs and printing windows --------------------------------
// The printer or PDF file that could not be opened.
inline constexpr BiText PrintCannotStart{"Impossible d'imprimer sur « %s »",
                                         "Cannot print to \"%s\""};
// The PDF file proposed when the machine has no printer.
inline constexpr const char* PrintDefaultFile = "Orvane.pdf";

// --- Find, lookup, tools, help, memo and about ---------------------------------------
// The companion programs: the messages when their file is missing.
inline constexpr BiText DbImportNotFound{"Fichier DBImport non trouvé", "DBImport file not found"};
inline constexpr BiText DexImportNotFound{"Fichier DexImport non trouvé",
                                          "DexImport file not found"};
// The program file's path.
inline constexpr BiText WineNeeded{
    "Wine est nécessaire pour lancer %s, qui est un programme Windows.\r\nInstallez Wine "
    "(paquet « wine ») puis recommencez.",
    "Wine is needed to start %s, which is a Windows program.\r\nInstall Wine (package "
    "\"wine\") and try again."};
// The program file's path, the system's reason.
inline constexpr BiText ProgramNotStarted{"Impossible de lancer %s : %s", "Cannot start %s: %s"};
inline constexpr BiText HelpMessage{
    "Merci de consulter l'aide au format html jointe à ce programme",
    "Please consult help in html file joined in Orvane.zip"};
// After the help message: the page's path.
inline constexpr BiText HelpPageAt{"La page d'aide s'ouvre dans votre navigateur :\r\n%s",
                                   "The help page opens in your browser:\r\n%s"};
inline constexpr BiText HelpPageMissing{
    "La page d'aide n'est pas installée à côté du programme :\r\n%s",
    "The help page is not installed beside the program:\r\n%s"};
inline constexpr BiText HelpNoBrowser{
    "Aucun navigateur n'a pu être lancé pour afficher la page d'aide. Elle se trouve ici :\r\n%s",
    "No browser could be started to show the help page. The page is here:\r\n%s"};
inline constexpr BiText MemoCaption{"Pour ne pas oublier.....", "Leaflet"};
inline constexpr BiText MemoNotFound{
    "Le fichier memo.txt n'a pas été trouvé.\r\nIl en est créé un nouveau.",
    "memo.txt files does not exist.\r\nNew one has been created."};
// Closing the memo window with text typed since the last save.
inline constexpr BiText MemoUnsaved{
    "Le texte du mémo n'a pas été enregistré.\r\nL'enregistrer avant de fermer ?",
    "The memo's text has not been saved.\r\nSave it before closing?"};
inline constexpr BiText AboutCaption{"A propos", "About"};
inline constexpr const char* AboutVersion = "Orvane v1.13"; // both languages
inline constexpr BiText AboutNotice{
    "Éditeur de la base de navigation de Fly! et Fly! II : aéroports, pistes, balises radio, "
    "ILS et fréquences.\r\n\r\nRemarques, questions et corrections : ouvrez une demande sur le "
    "suivi du projet Orvane.",
    "Editor of the navigation database of Fly! and Fly! II: airports, runways, radio beacons, "
    "ILS and frequencies.\r\n\r\nRemarks, questions and fixes: open an issue on the Orvane "
    "project's tracker."};

// --- Map and check --------------------------------------------------------------------
inline constexpr BiText TabCarte{"Carte", "Map"};
inline constexpr BiText MenuVerifier{"Vérifier", "Check"};
// The findings list: its heading and the line of a finding (row, field, what).
inline constexpr CountText CheckHeading{{"Vérification : %d anomalie", "Check: %d finding"},
                                        {"Vérification : %d anomalies", "Check: %d findings"}};
inline constexpr BiText CheckNothing{"Vérification : aucune anomalie", "Check: nothing found"};
inline constexpr BiText CheckLine{"Ligne %d, %s : %s", "Row %d, %s: %s"};
inline constexpr BiText CheckNotNumber{"« %s » n'est pas un nombre décimal",
                                       "\"%s\" is not a decimal number"};
inline constexpr BiText CheckNotWhole{"« %s » n'est pas un nombre entier",
                                      "\"%s\" is not a whole number"};
inline constexpr BiText CheckTooLong{"« %s » dépasse %d caractères",
                                     "\"%s\" is longer than %d characters"};
inline constexpr BiText CheckByteRange{"%s n'est pas un octet de 0 à 255",
                                       "%s is not a byte from 0 to 255"};
inline constexpr BiText CheckLatitude{"latitude %s au-delà de ±90°", "latitude %s beyond ±90°"};
inline constexpr BiText CheckLongitude{"longitude %s hors de −180° à 360°",
                                       "longitude %s outside −180° to 360°"};
inline constexpr BiText CheckDuplicate{"clé « %s » déjà en ligne %d",
                                       "key \"%s\" already in row %d"};
inline constexpr BiText CheckEmptyKey{"clé vide", "empty key"};
// The map's buttons (their hints, with their keys).
inline constexpr BiText MapFitAll{"Tout voir (Origine)", "Fit all (Home)"};
inline constexpr BiText MapCentre{"Centrer sur la ligne courante (C)", "Centre on current row (C)"};
inline constexpr BiText MapZoomIn{"Zoom avant (+)", "Zoom in (+)"};
inline constexpr BiText MapZoomOut{"Zoom arrière (−)", "Zoom out (−)"};
inline constexpr BiText CheckNoTable{"Aucune table chargée à vérifier.",
                                     "No table loaded to check."};

// --- Undo, redo and compare -------------------------------------------------
inline constexpr BiText MenuEdition{"&Edition", "&Edit"};
// The file dialog of the table to compare with: the readable formats' patterns.
inline constexpr BiText CompareOpenFilter{"Tables|%s|Tous fichiers |*.*",
                                          "Tables|%s|All files |*.*"};
inline constexpr BiText MenuUndo{"Annuler", "Undo"};
inline constexpr BiText MenuRedo{"Rétablir", "Redo"};
// With the name of the step, e.g. "Undo: delete 12 lines".
inline constexpr BiText UndoCaption{"Annuler : %s", "Undo: %s"};
inline constexpr BiText RedoCaption{"Rétablir : %s", "Redo: %s"};
// Step names (%d a count or a line number, %s a column title).
inline constexpr BiText StepTyping{"saisie en ligne %d", "typing in line %d"};
inline constexpr BiText StepEmptyCells{"effacement de %d cellules", "emptying %d cells"};
inline constexpr BiText StepEmptyCell{"effacement d'une cellule", "emptying a cell"};
inline constexpr BiText StepToggleFlag{"marque de la ligne %d", "mark of line %d"};
inline constexpr BiText StepInsertLine{"insertion de la ligne %d", "insert line %d"};
inline constexpr BiText StepAppendLine{"ajout d'une ligne en fin", "append a line"};
inline constexpr BiText StepDeleteLine{"suppression de la ligne %d", "delete line %d"};
inline constexpr CountText StepDeleteLines{{"suppression de %d ligne", "delete %d line"},
                                           {"suppression de %d lignes", "delete %d lines"}};
inline constexpr BiText StepEraseAll{"effacement de tout", "erase all"};
inline constexpr BiText StepSelectAll{"sélection de tout", "select all"};
inline constexpr BiText StepSelectNone{"aucune sélection", "select none"};
inline constexpr BiText StepSelectPart{"sélection partielle", "select part"};
inline constexpr BiText StepSort{"tri par %s", "sort by %s"};
inline constexpr BiText StepCarryBack{"modification de l'enregistrement %d", "change of record %d"};
inline constexpr CountText StepImport{{"ajout de %d ligne importée", "add %d imported line"},
                                      {"ajout de %d lignes importées", "add %d imported lines"}};

// --- Clipboard, fill down, find and replace, filter ----------------------------
inline constexpr BiText MenuCopy{"Copier", "Copy"};
inline constexpr BiText MenuCut{"Couper", "Cut"};
inline constexpr BiText MenuPaste{"Coller", "Paste"};
inline constexpr BiText MenuFillDown{"Recopier vers le bas", "Fill down"};
inline constexpr BiText MenuCopyTitles{"Copier les titres avec les lignes entières",
                                       "Copy field titles with whole rows"};
inline constexpr BiText MenuFindReplace{"Rechercher et remplacer…", "Find and replace…"};
inline constexpr BiText MenuFilter{"Filtrer les lignes", "Filter rows"};
inline constexpr BiText MenuSearchThisColumn{"Chercher dans cette colonne", "Search this column"};
inline constexpr CountText StepPaste{{"collage de %d cellule", "paste %d cell"},
                                     {"collage de %d cellules", "paste %d cells"}};
inline constexpr CountText StepCut{{"coupe de %d cellule", "cut %d cell"},
                                   {"coupe de %d cellules", "cut %d cells"}};
inline constexpr CountText StepFillDown{
    {"recopie de %d cellule vers le bas", "fill down %d cell"},
    {"recopie de %d cellules vers le bas", "fill down %d cells"}};
inline constexpr CountText StepReplace{{"remplacement dans %d cellule", "replace in %d cell"},
                                       {"remplacement dans %d cellules", "replace in %d cells"}};
// A refused entry: the first cells, one a line, then how many more.
inline constexpr BiText PasteRefused{
    "Rien n'a été collé : %d cellule(s) refusent leur valeur.\n\n%s",
    "Nothing was pasted: %d cell(s) refuse their value.\n\n%s"};
inline constexpr BiText FillRefused{
    "Rien n'a été recopié : %d cellule(s) refusent leur valeur.\n\n%s",
    "Nothing was filled: %d cell(s) refuse their value.\n\n%s"};
inline constexpr BiText ReplaceRefused{
    "Rien n'a été remplacé : %d cellule(s) refusent leur nouvelle valeur.\n\n%s",
    "Nothing was replaced: %d cell(s) refuse their new value.\n\n%s"};
inline constexpr BiText RefusedCellLine{"ligne %d, champ %s : « %s » — %s",
                                        "row %d, field %s: \"%s\" — %s"};
inline constexpr BiText RefusedCellsMore{"… et %d autre(s)", "… and %d more"};
inline constexpr BiText RefusalNoSuchColumn{"pas de champ à cet endroit", "no field there"};
inline constexpr BiText RefusalFlagColumn{"cette colonne change par ses boutons",
                                          "this column changes through its buttons"};
inline constexpr BiText RefusalNotWritten{"champ non écrit dans l'archive (écriture directe)",
                                          "field not written into the archive (direct write)"};
inline constexpr BiText RefusalNotWindows1252{"caractère absent de Windows-1252",
                                              "a character Windows-1252 cannot hold"};
inline constexpr BiText PasteAppendRows{
    "Le collage dépasse la dernière ligne de %d ligne(s).\nAjouter %d ligne(s) en fin de table ?",
    "The paste runs %d row(s) past the last row.\nAdd %d row(s) at the end of the table?"};
inline constexpr CountText PasteDone{{"%d cellule collée", "%d cell pasted"},
                                     {"%d cellules collées", "%d cells pasted"}};
inline constexpr CountText CopyDone{{"%d cellule copiée", "%d cell copied"},
                                    {"%d cellules copiées", "%d cells copied"}};
inline constexpr BiText ClipboardHoldsNoText{"Le presse-papiers ne contient pas de texte.",
                                             "The clipboard holds no text."};
inline constexpr BiText ReplaceTitle{"Rechercher et remplacer", "Find and replace"};
inline constexpr BiText ReplaceFindLabel{"&Rechercher :", "&Find:"};
inline constexpr BiText ReplaceWithLabel{"Remplacer &par :", "Replace &with:"};
inline constexpr BiText ReplaceScopeLabel{"&Dans :", "&In:"};
inline constexpr BiText ReplaceScopeAll{"Tous les champs", "All fields"};
inline constexpr BiText ReplaceScopeColumn{"La colonne « %s »", "The column \"%s\""};
inline constexpr BiText ReplaceScopeSelection{"La sélection", "The selection"};
inline constexpr BiText ReplaceWholeCell{"Cellule &entière", "W&hole cell"};
inline constexpr BiText ReplaceMatchCase{"Respecter la &casse", "Match &case"};
inline constexpr BiText ReplaceRegex{"E&xpression régulière ($1 dans le remplacement)",
                                     "Regular e&xpression ($1 in the replacement)"};
inline constexpr BiText ReplaceFindNext{"&Suivant", "Find &next"};
inline constexpr BiText ReplaceOne{"&Remplacer", "&Replace"};
inline constexpr BiText ReplaceAll{"Remplacer &tout", "Replace &all"};
inline constexpr BiText ReplaceClose{"Fermer", "Close"};
inline constexpr CountText ReplaceDone{{"%d cellule remplacée.", "%d cell replaced."},
                                       {"%d cellules remplacées.", "%d cells replaced."}};
inline constexpr BiText ReplaceNoMatch{"Aucune cellule ne correspond.", "No cell matches."};
inline constexpr BiText ReplaceBadRegex{"Expression régulière invalide : %s",
                                        "Invalid regular expression: %s"};
inline constexpr BiText FilterShown{"%d sur %d lignes affichées", "%d of %d rows shown"};
inline constexpr BiText FilterHint{
    "Filtre de la colonne : texte contenu, =valeur, <>valeur, <n, >n, <=n, >=n",
    "Column filter: text contained, =value, <>value, <n, >n, <=n, >=n"};
inline constexpr BiText FilterClear{"Effacer le filtre", "Clear filter"};
inline constexpr BiText FilterActsOn{
    "Enregistrements, exports et effacement de la sélection : toutes les lignes. Boutons de "
    "sélection, remplacement et collage : les lignes affichées.",
    "Saves, exports and Erase selection: every row. Select buttons, replace and paste: the rows "
    "shown."};
inline constexpr BiText SearchFieldChooser{"Choisir le champ cherché", "Choose the field searched"};
inline constexpr BiText SearchHitNote{"Ligne %d, champ %s", "Row %d, field %s"};
inline constexpr BiText SearchHitHidden{"Ligne %d, champ %s : cachée par le filtre",
                                        "Row %d, field %s: hidden by the filter"};

inline constexpr BiText MenuCompare{"Comparer avec…", "Compare with…"};
// The record editor on the grid's current row, from the keyboard.
inline constexpr BiText MenuEditRecord{"Éditer l'enregistrement…", "Edit the record…"};
inline constexpr BiText CompareNoTable{"Chargez d'abord une table à comparer.",
                                       "Load a table to compare first."};
// The other file's name, its data type, the loaded table's data type.
inline constexpr BiText CompareOtherType{
    "%s contient des enregistrements %s, pas %s : rien à comparer.",
    "%s holds %s records, not %s: nothing to compare."};
// The summary in the comparison panel: the other file's name, then the
// three counts below, each with its own singular or plural.
inline constexpr BiText CompareSummary{"Comparé avec %s : %s, %s, %s",
                                       "Compared with %s: %s, %s, %s"};
inline constexpr BiText CompareEqual{"Comparé avec %s : aucune différence",
                                     "Compared with %s: no difference"};
inline constexpr CountText CompareChanged{{"%d ligne modifiée", "%d changed row"},
                                          {"%d lignes modifiées", "%d changed rows"}};
inline constexpr CountText CompareOnlyHere{{"%d ligne seulement ici", "%d row only here"},
                                           {"%d lignes seulement ici", "%d rows only here"}};
inline constexpr CountText CompareOnlyThere{
    {"%d ligne seulement dans l'autre", "%d row only in the other"},
    {"%d lignes seulement dans l'autre", "%d rows only in the other"}};
inline constexpr BiText ComparePanel{"Comparaison", "Comparison"};
// The panel's entries: the row's key and name, its line number.
inline constexpr BiText CompareChangedItem{"Modifiée : %s (ligne %d)", "Changed: %s (line %d)"};
inline constexpr BiText CompareOnlyHereItem{"Seulement ici : %s (ligne %d)",
                                            "Only here: %s (line %d)"};
inline constexpr BiText CompareMissingItem{
    "Seulement dans l'autre : %s (ligne %d de l'autre table)",
    "Only in the other: %s (line %d of the other table)"};
// A changed field: its title, this table's value, the other's.
inline constexpr BiText CompareFieldItem{"%s : « %s » → « %s »", "%s: \"%s\" → \"%s\""};
inline constexpr BiText CompareTakeOther{"Prendre l'autre", "Take the other"};
inline constexpr BiText CompareTakeOtherTip{
    "Reprend la valeur ou la ligne de l'autre table pour les différences choisies (Ctrl+Z "
    "l'annule)",
    "Takes the other table's value or row for the chosen differences (Ctrl+Z takes it back)"};
inline constexpr BiText CompareKeepThis{"Garder celle-ci", "Keep this side"};
inline constexpr BiText CompareKeepThisTip{
    "Garde la valeur de cette table et retire les différences choisies de la liste",
    "Keeps this table's value and takes the chosen differences off the list"};
inline constexpr BiText MenuNextDifference{"Différence suivante", "Next difference"};
inline constexpr BiText MenuPreviousDifference{"Différence précédente", "Previous difference"};
inline constexpr BiText MenuClearComparison{"Effacer la comparaison", "Clear comparison"};
// The hint over a compared cell: the other table's value.
inline constexpr BiText CompareOtherValue{"Autre table : « %s »", "Other table: \"%s\""};
inline constexpr BiText CompareOnlyHereHint{"Ligne absente de l'autre table",
                                            "Row not in the other table"};
inline constexpr CountText StepTakeOther{
    {"reprise d'une différence de l'autre table", "take one difference from the other table"},
    {"reprise de %d différences de l'autre table", "take %d differences from the other table"}};

// --- Comparison with the real world (OurAirports) ------------------------------
inline constexpr BiText MenuReconcile{"Comparer avec OurAirports…", "Compare with OurAirports…"};
inline constexpr BiText ReconcilePanel{"Données réelles (OurAirports)", "Real world (OurAirports)"};
inline constexpr BiText ReconcileFolderTitle{"Dossier des fichiers OurAirports (airports.csv…)",
                                             "Folder of the OurAirports files (airports.csv…)"};
// The data type (ILS has no counterpart).
inline constexpr BiText ReconcileNoCounterpart{
    "Les enregistrements %s n'ont pas d'équivalent dans les données OurAirports.",
    "%s records have no counterpart in the OurAirports data."};
// Folder name, then the findings' count.
inline constexpr BiText ReconcileSummary{"Comparé avec OurAirports (%s) : %s",
                                         "Compared with OurAirports (%s): %s"};
inline constexpr BiText ReconcileEqual{"Comparé avec OurAirports (%s) : aucune différence",
                                       "Compared with OurAirports (%s): no difference"};
inline constexpr CountText ReconcileFindings{{"%d constat", "%d finding"},
                                             {"%d constats", "%d findings"}};
inline constexpr BiText ReconcileThreshold{"Déplacé au-delà de (m) :", "Moved beyond (m):"};
inline constexpr BiText ReconcileTake{"Prendre la valeur réelle", "Take the real-world value"};
inline constexpr BiText ReconcileTakeKind{"Prendre tous ceux de ce type", "Take all of this kind"};
inline constexpr BiText ReconcileNotInRealWorldHint{"Ligne absente des données réelles ou fermée",
                                                    "Row not in the real-world data, or closed"};
inline constexpr BiText ReconcileRealValue{"Données réelles : « %s »", "Real world: \"%s\""};
// A finding: the distance, then the row's code and name and its line.
inline constexpr BiText ReconcileMovedItem{"Déplacé de %s : %s (ligne %d)",
                                           "Moved %s: %s (line %d)"};
inline constexpr BiText ReconcileElevationItem{"Altitude changée : %s (ligne %d)",
                                               "Elevation changed: %s (line %d)"};
inline constexpr BiText ReconcileNameItem{"Nom changé : %s (ligne %d)",
                                          "Name changed: %s (line %d)"};
inline constexpr BiText ReconcileFrequencyItem{"Fréquence changée : %s (ligne %d)",
                                               "Frequency changed: %s (line %d)"};
inline constexpr BiText ReconcileRenumberedItem{"Piste renumérotée : %s (ligne %d)",
                                                "Runway renumbered: %s (line %d)"};
inline constexpr BiText ReconcileLengthItem{"Longueur changée : %s (ligne %d)",
                                            "Length changed: %s (line %d)"};
inline constexpr BiText ReconcileClosedItem{"Fermé dans la réalité : %s (ligne %d)",
                                            "Closed in the real world: %s (line %d)"};
inline constexpr BiText ReconcileUnknownItem{"Absent des données réelles : %s (ligne %d)",
                                             "Not in the real-world data: %s (line %d)"};
// A frequency finding's other real-world values of that kind ("120.6500", …).
inline constexpr BiText ReconcileAlternatives{"aussi %s", "also %s"};
// The kinds of findings, as the counts name them.
inline constexpr BiText ReconcileKindMoved{"Déplacés", "Moved"};
inline constexpr BiText ReconcileKindElevation{"Altitude changée", "Elevation changed"};
inline constexpr BiText ReconcileKindName{"Nom changé", "Name changed"};
inline constexpr BiText ReconcileKindFrequency{"Fréquence changée", "Frequency changed"};
inline constexpr BiText ReconcileKindRenumbered{"Pistes renumérotées", "Runways renumbered"};
inline constexpr BiText ReconcileKindLength{"Longueur changée", "Length changed"};
inline constexpr BiText ReconcileKindNotInRealWorld{"Absents des données réelles ou fermés",
                                                    "Not in the real-world data, or closed"};
inline constexpr BiText ReconcileKindMissing{"Manquent à la table", "Not in the table"};
// A real-world airport or navaid of the table's area: its code and name.
inline constexpr BiText ReconcileMissingItem{"Manque à la table : %s", "Not in the table: %s"};
// A real-world file that does not read: the file, its line, the column, why.
inline constexpr BiText RealDataAtColumn{"%s, ligne %d, colonne \"%s\" : %s",
                                         "%s, line %d, column \"%s\": %s"};
inline constexpr BiText RealDataAtLine{"%s, ligne %d : %s", "%s, line %d: %s"};
inline constexpr BiText RealDataTextAfterQuote{"du texte suit le guillemet fermant du champ",
                                               "text after the closing quote of a field"};
inline constexpr BiText RealDataQuoteOpen{"un guillemet n'est jamais fermé",
                                          "a quote is never closed"};
inline constexpr BiText RealDataEmpty{"le fichier est vide (pas de ligne d'en-tête)",
                                      "the file is empty (no heading row)"};
inline constexpr BiText RealDataNoColumn{"la ligne d'en-tête n'a pas cette colonne",
                                         "no such column in the heading row"};
inline constexpr BiText RealDataShortLine{
    "la ligne s'arrête avant cette colonne (%d champs sur %d)",
    "the line ends before this column (%d of %d fields)"};
inline constexpr BiText RealDataLongLine{"plus de champs que l'en-tête n'en nomme (%d pour %d)",
                                         "more fields than the heading names (%d for %d)"};
inline constexpr BiText RealDataNoNumber{"\"%s\" n'est pas un nombre", "\"%s\" is no number"};
inline constexpr BiText RealDataMissingValue{"la valeur manque", "the value is missing"};
inline constexpr BiText RealDataOutOfRange{"la valeur est hors limites",
                                           "the value is out of range"};
inline constexpr BiText RealDataBeyondDegrees{"\"%s\" dépasse %d degrés",
                                              "\"%s\" is beyond %d degrees"};
// The file's name, then the folder.
inline constexpr BiText RealDataFileMissing{"%s introuvable dans %s", "%s not found in %s"};
inline constexpr BiText RealDataFileIsFolder{"%s est un dossier, pas un fichier, dans %s",
                                             "%s is a folder, not a file, in %s"};
inline constexpr BiText RealDataTooManyColumns{"l'en-tête nomme plus de %d colonnes",
                                               "the heading names more than %d columns"};
// The file and the first line whose text is not UTF-8.
inline constexpr BiText RealDataNotUtf8{
    "%s, ligne %d : texte non UTF-8, lu comme Windows-1252 (et toute autre ligne ainsi)",
    "%s, line %d: text that is not UTF-8, read as Windows-1252 (as any other such line)"};
// The role a field plays for the comparison (identifier, frequency…).
inline constexpr BiText ReconcileNoRoleField{"la table n'a pas de champ dont le titre nomme son %s",
                                             "the table has no field whose title names its %s"};
inline constexpr BiText RoleIdentifier{"identifiant", "identifier"};
inline constexpr BiText RoleAirportOrEnd{"code OACI ou extrémité de piste",
                                         "ICAO code or runway end"};
inline constexpr BiText RoleType{"type", "type"};
inline constexpr BiText RoleFrequency{"fréquence", "frequency"};
inline constexpr BiText RoleField{"champ", "field"};
inline constexpr CountText StepTakeRealWorld{
    {"reprise d'une valeur réelle", "take one real-world value"},
    {"reprise de %d valeurs réelles", "take %d real-world values"}};
inline constexpr CountText StepAddRealWorld{
    {"ajout d'un lieu réel", "add one real-world place"},
    {"ajout de %d lieux réels", "add %d real-world places"}};
// The panel's filters and counts.
inline constexpr BiText ReconcileKindFilter{"Type :", "Kind:"};
inline constexpr BiText ReconcileCountryFilter{"Pays :", "Country:"};
inline constexpr BiText ReconcileAllKinds{"Tous les types (%d)", "All kinds (%d)"};
inline constexpr BiText ReconcileAllCountries{"Tous les pays (%d)", "All countries (%d)"};
// A kind or a country, then its count.
inline constexpr BiText ReconcileFilterItem{"%s (%d)", "%s (%d)"};
inline constexpr BiText ReconcileCountItem{"%s : %d", "%s: %d"};
// The count shown, then the findings' count ("12 shown of 2415 findings").
inline constexpr BiText ReconcileShown{"%d affichés sur %s", "%d shown of %s"};
// The group item the places the table lacks are listed under, collapsed.
inline constexpr CountText ReconcileMissingGroup{
    {"Manque à la table : %d lieu réel (déplier pour le voir)",
     "Not in the table: %d real-world place (expand to see it)"},
    {"Manquent à la table : %d lieux réels (déplier pour les voir)",
     "Not in the table: %d real-world places (expand to see them)"}};
// "Take all of this kind" changing more than one row: the findings' count,
// the kind, the rows' count.
inline constexpr BiText ReconcileTakeKindConfirm{
    "Prendre la valeur réelle des %d constats « %s » ? %d lignes changent (une seule étape, "
    "qu'Annuler reprend).",
    "Take the real-world value of the %d \"%s\" findings? %d rows change (one step, which Undo "
    "takes back)."};
inline constexpr BiText ReconcileAdd{"Ajouter depuis le monde réel", "Add from the real world"};
inline constexpr BiText ReconcileNothingToAdd{
    "Rien à ajouter : choisissez des constats « Manque à la table » (ou leur groupe).",
    "Nothing to add: choose \"Not in the table\" findings (or their group)."};
// The RUNWAY and COMM DEX files of the airports added, in the work folder.
inline constexpr CountText ReconcilePartsWritten{
    {"%s : %d ligne écrite dans %s", "%s: %d row written to %s"},
    {"%s : %d lignes écrites dans %s", "%s: %d rows written to %s"}};
inline constexpr BiText ReconcilePartsNone{"%s : aucune ligne dans les données réelles",
                                           "%s: no row in the real-world data"};
inline constexpr BiText ReconcilePartsNoArchive{"%s : archive %s introuvable, rien d'écrit",
                                                "%s: no archive %s, nothing written"};
inline constexpr BiText ReconcilePartsNoFile{
    "%s : %s absent du dossier OurAirports, rien d'écrit",
    "%s: no %s in the OurAirports folder, nothing written"};
inline constexpr BiText ReconcilePartsHead{"Pistes et fréquences des aérodromes ajoutés :",
                                           "The runways and frequencies of the airports added:"};
inline constexpr BiText ReconcilePartsHint{
    "Ajoutez-les aux tables RUNWAY et COMM par Fichier DEX → Ajouter un DEX.",
    "Add them to the RUNWAY and COMM tables with DEX Files → Add a DEX."};

// --- Window state: direct-write marks ----------------------------------------
// Rows changed in direct-write mode and not yet written back: one row, or a
// list of rows ("3, 5, 8").
// The word after the record count in the status texts of a load.
// A companion program started: its file name.
inline constexpr BiText ProgramStarted{"%s lancé", "%s started"};
inline constexpr BiText RecordsWord{"enregistrements", "records"};
// The record count of the status bar, by number.
inline constexpr CountText RecordCount{{"%d enregistrement", "%d record"},
                                       {"%d enregistrements", "%d records"}};
inline constexpr BiText ReconcileNothingToTake{
    "Rien à prendre : les constats « Manque à la table », « Absent des données réelles » et "
    "« Fermé dans la réalité » ne portent aucune valeur. Choisissez un constat de position, "
    "d'altitude, de nom, de fréquence "
    "ou de longueur, ou gardez ce côté.",
    "Nothing to take: \"Not in the table\", \"Not in the real-world data\" and \"Closed in the "
    "real world\" findings hold no value. Choose a finding of place, elevation, name, frequency or "
    "length, or keep this side."};
// What a take left out in direct-write mode: rows, then values (with the
// title of one of their fields), then whether anything was taken.
inline constexpr CountText DirectWriteRowsLeftOut{
    {"Mode écriture directe : %d ligne à ajouter ou à retirer a été laissée de côté ; "
     "l'écriture dans l'archive ne peut pas la porter.",
     "Direct-write mode: %d row to add or remove was left out; the write into the archive "
     "cannot carry it."},
    {"Mode écriture directe : %d lignes à ajouter ou à retirer ont été laissées de côté ; "
     "l'écriture dans l'archive ne peut pas les porter.",
     "Direct-write mode: %d rows to add or remove were left out; the write into the archive "
     "cannot carry them."}};
inline constexpr CountText DirectWriteValuesLeftOut{
    {"Mode écriture directe : %d valeur a été laissée de côté ; l'écriture dans l'archive ne "
     "change pas le champ « %s ».",
     "Direct-write mode: %d value was left out; the write into the archive does not change the "
     "field \"%s\"."},
    {"Mode écriture directe : %d valeurs ont été laissées de côté ; l'écriture dans l'archive ne "
     "change pas des champs comme « %s ».",
     "Direct-write mode: %d values were left out; the write into the archive does not change "
     "fields such as \"%s\"."}};
// Rows added by a DEX or CSV add, the file's name.
inline constexpr CountText RecordsAddedNote{
    {"%d enregistrement ajouté depuis %s", "%d record added from %s"},
    {"%d enregistrements ajoutés depuis %s", "%d records added from %s"}};
inline constexpr BiText TakeRestTaken{"Le reste a été pris.", "The rest was taken."};
inline constexpr BiText TakeNothingTaken{"Rien n'a été pris.", "Nothing was taken."};
// Rows of this table, rows of the other file.
inline constexpr BiText CompareRepeatedKeys{
    "Clé répétée : %d lignes de ce tableau et %d de l'autre fichier portent une clé déjà vue "
    "plus haut ; elles ne sont pas listées.",
    "Repeated key: %d rows of this table and %d of the other file hold a key already seen above; "
    "they are not listed."};
inline constexpr BiText DirectWriteKeepsRows{
    "Mode écriture directe : la ligne n du tableau reste l'enregistrement n de l'archive, les "
    "lignes ne peuvent donc être ni ajoutées, ni supprimées, ni déplacées. Rien n'a été modifié.",
    "Direct-write mode: row n of the table stays record n of the archive, so rows cannot be "
    "added, removed or moved. Nothing was changed."};
// The field's title, the row.
inline constexpr BiText DirectWriteKeepsField{
    "Mode écriture directe : le champ « %s » n'est pas écrit dans l'archive et ne peut pas être "
    "modifié ici (ligne %d). Rien n'a été modifié.",
    "Direct-write mode: the field \"%s\" is not written into the archive and cannot be changed "
    "here (line %d). Nothing was changed."};
inline constexpr BiText UnwrittenRowQuestion{
    "La ligne %s a été modifiée mais pas écrite dans l'archive. Abandonner sa modification ?",
    "Line %s was changed but not written to the archive. Discard its change?"};
inline constexpr BiText UnwrittenRowsQuestion{
    "Les lignes %s ont été modifiées mais pas écrites dans l'archive. Abandonner leurs "
    "modifications ?",
    "Lines %s were changed but not written to the archive. Discard their changes?"};
inline constexpr BiText UnwrittenRowHint{"Ligne modifiée, pas encore écrite dans l'archive",
                                         "Line changed, not yet written to the archive"};
inline constexpr BiText ProtectedFieldHint{
    "Non modifiable en écriture directe : ce champ n'est pas écrit dans l'archive",
    "Read-only in direct-write mode: this field is not written to the archive"};

// --- The editor's command line ------------------------------------------------
// orvane --help (printed on stdout; the exit codes are the man page's).
inline constexpr BiText CommandLineHelp{
    "Usage : orvane [OPTION] [FICHIER...]\n"
    "Éditeur de la base de navigation de Fly! et Fly! II. FICHIER s'ouvre comme\n"
    "par le menu : un fichier .dbd, la table d'une archive .pod ou .epd, un fichier\n"
    "d'échange .dex ou .csv, ou les définitions d'un modèle .dbt.\n"
    "\n"
    "Options :\n"
    "  -h, --help     affiche cette aide et sort\n"
    "  -v, --version  affiche la version et sort\n"
    "\n"
    "Code de sortie : 0 à la fermeture de l'éditeur, 1 pour une option inconnue.\n"
    "Voir aussi : man orvane, orvane-cli(1).\n",
    "Usage: orvane [OPTION] [FILE...]\n"
    "Editor of the Fly! and Fly! II navigation database. FILE opens as its menu\n"
    "command opens it: a .dbd file, the table of a .pod or .epd archive, a .dex or\n"
    ".csv exchange file, or the definitions of a .dbt template.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  -v, --version  print the version and exit\n"
    "\n"
    "Exit status: 0 when the editor closes, 1 for an unknown option.\n"
    "See also: man orvane, orvane-cli(1).\n"};
// A wrong option: the option's text, then a hint.
inline constexpr BiText CommandLineBadOption{"orvane : %s\nEssayez « orvane --help ».\n",
                                             "orvane: %s\nTry 'orvane --help'.\n"};
// Several files given: the first is opened, the others named as left aside
// (the number of the others, then the first's name; or the first's name).
inline constexpr BiText CommandLineOthersLeft{
    "Orvane ouvre une table à la fois : les %d fichiers donnés après %s sont ignorés.",
    "Orvane opens one table at a time: the %d files given after %s were left aside."};
inline constexpr BiText CommandLineOtherLeft{
    "Orvane ouvre une table à la fois : le fichier donné après %s est ignoré.",
    "Orvane opens one table at a time: the file given after %s was left aside."};
inline constexpr BiText CommandLineUnknownKind{
    "%s n'est pas un fichier qu'Orvane ouvre (DBD, DBT, POD, EPD, DEX ou CSV).",
    "%s is not a file Orvane opens (DBD, DBT, POD, EPD, DEX or CSV)."};
// An archive without the table its name announces: the archive, the entry.
inline constexpr BiText CommandLineNoTable{
    "%s ne contient pas de table %s.\r\nAfficher ses fichiers dans « Extraction POD » ?",
    "%s holds no table %s.\r\nShow its files in \"Extract POD\"?"};

} // namespace txt
} // namespace orvane
