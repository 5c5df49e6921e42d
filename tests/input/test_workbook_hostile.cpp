// Workbooks made here byte by byte: .xls compound files with their BIFF
// records (valid ones, and damaged ones with bad lengths, strings cut by a
// CONTINUE, records cut by the end of the stream), and .xlsx / .ods packages
// with a far cell or a large shared string used many times. Each case checks
// the text written, or the failure and its message, and that no text (nor
// temporary file) is left behind by a failure.
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "input/workbook.h"
#include "support/temp_dir.h"

namespace tamso {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- bytes

std::string le16(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
std::string le32(std::uint32_t v) {
  return le16(v & 0xFFFF) + le16(v >> 16);
}
std::string le64(double d) {
  std::uint64_t b = 0;
  std::memcpy(&b, &d, sizeof b);
  return le32(static_cast<std::uint32_t>(b)) + le32(static_cast<std::uint32_t>(b >> 32));
}

// ---------------------------------------------------------------- compound file

// A compound file of 512-byte sectors holding one stream: the allocation
// table first, then the directory, then the stream. The small-stream cut-off
// is 0, so that even a short stream lives in ordinary sectors.
std::string composite(const std::string& nom_flux, const std::string& flux) {
  const std::uint32_t fin = 0xFFFFFFFE, libre = 0xFFFFFFFF;
  const std::uint32_t nb_flux = static_cast<std::uint32_t>((flux.size() + 511) / 512);
  std::uint32_t nb_fat = 1;
  while (nb_fat * 128 < nb_fat + 1 + nb_flux) ++nb_fat;
  std::string tete = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0');
  tete += le16(0x3E) + le16(3) + le16(0xFFFE) + le16(9) + le16(6) + std::string(6, '\0');
  tete += le32(0) + le32(nb_fat) + le32(nb_fat) + le32(0) + le32(0);  // directory after the FAT
  tete += le32(fin) + le32(0) + le32(fin) + le32(0);                  // no mini FAT, no DIFAT
  for (std::uint32_t i = 0; i < 109; ++i) tete += le32(i < nb_fat ? i : libre);
  std::string fat;
  for (std::uint32_t i = 0; i < nb_fat; ++i) fat += le32(0xFFFFFFFD);
  fat += le32(fin);  // the directory
  for (std::uint32_t i = 0; i < nb_flux; ++i) fat += le32(i + 1 < nb_flux ? nb_fat + 2 + i : fin);
  fat.resize(nb_fat * 512, '\xFF');
  const auto entree = [](const std::string& nom, int type, std::uint32_t debut,
                         std::uint32_t taille, std::uint32_t enfant) {
    std::string e;
    for (char c : nom) e += le16(static_cast<unsigned char>(c));
    e.resize(64, '\0');
    e += le16(static_cast<std::uint32_t>(2 * nom.size() + 2));
    e += static_cast<char>(type);
    e += '\x01';
    e += le32(0xFFFFFFFF) + le32(0xFFFFFFFF) + le32(enfant);
    e += std::string(36, '\0');
    e += le32(debut) + le32(taille) + le32(0);
    return e;
  };
  std::string repertoire = entree("Root Entry", 5, fin, 0, 1) +
                           entree(nom_flux, 2, nb_flux ? nb_fat + 1 : fin,
                                  static_cast<std::uint32_t>(flux.size()), 0xFFFFFFFF);
  repertoire.resize(512, '\0');
  std::string donnees = flux;
  donnees.resize(nb_flux * 512, '\0');
  return tete + fat + repertoire + donnees;
}

// ---------------------------------------------------------------- BIFF records

std::string rec(std::uint16_t type, const std::string& donnees) {
  return le16(type) + le16(static_cast<std::uint32_t>(donnees.size())) + donnees;
}
std::string rec_eof() {
  return rec(0x000A, "");
}
std::string cellule(std::uint32_t ligne, std::uint32_t col, std::uint32_t xf) {
  return le16(ligne) + le16(col) + le16(xf);
}
std::string nombre(std::uint32_t l, std::uint32_t c, std::uint32_t xf, double v) {
  return rec(0x0203, cellule(l, c, xf) + le64(v));
}
std::string rk(std::uint32_t l, std::uint32_t c, std::uint32_t xf, std::uint32_t valeur) {
  return rec(0x027E, cellule(l, c, xf) + le32(valeur));
}
// RK forms: an integer, an integer over 100, the high half of a double.
std::uint32_t rk_entier(std::int32_t v) {
  return (static_cast<std::uint32_t>(v) << 2) | 2;
}
std::uint32_t rk_centiemes(std::int32_t v) {
  return (static_cast<std::uint32_t>(v) << 2) | 3;
}
std::uint32_t rk_double(double d) {
  std::uint64_t b = 0;
  std::memcpy(&b, &d, sizeof b);
  return static_cast<std::uint32_t>(b >> 32);
}
std::string mulrk(std::uint32_t l, std::uint32_t premiere,
                  const std::vector<std::uint32_t>& valeurs) {
  std::string d = le16(l) + le16(premiere);
  for (std::uint32_t v : valeurs) d += le16(0) + le32(v);
  return rec(0x00BD, d + le16(premiere + static_cast<std::uint32_t>(valeurs.size()) - 1));
}
std::string labelsst(std::uint32_t l, std::uint32_t c, std::uint32_t k) {
  return rec(0x00FD, cellule(l, c, 0) + le32(k));
}
// A BIFF8 text of 8-bit characters.
std::string label(std::uint32_t l, std::uint32_t c, const std::string& latin1) {
  return rec(0x0204,
             cellule(l, c, 0) + le16(static_cast<std::uint32_t>(latin1.size())) + '\0' + latin1);
}
std::string boolerr(std::uint32_t l, std::uint32_t c, int valeur, bool erreur) {
  return rec(0x0205,
             cellule(l, c, 0) + static_cast<char>(valeur) + static_cast<char>(erreur ? 1 : 0));
}
// A formula's cached result (8 bytes), its flags, and an empty expression.
std::string formule(std::uint32_t l, std::uint32_t c, std::uint32_t xf, const std::string& r) {
  return rec(0x0006, cellule(l, c, xf) + r + le16(0) + le32(0) + le16(0));
}
std::string resultat_special(int genre, int valeur) {
  return std::string{
      static_cast<char>(genre), '\0', static_cast<char>(valeur), '\0', '\0', '\0', '\xFF', '\xFF'};
}
std::string chaine_formule(const std::string& latin1) {
  return rec(0x0207, le16(static_cast<std::uint32_t>(latin1.size())) + '\0' + latin1);
}
std::string dimensions(std::uint32_t l0, std::uint32_t l1, std::uint32_t c0, std::uint32_t c1) {
  return rec(0x0200, le32(l0) + le32(l1) + le16(c0) + le16(c1) + le16(0));
}
std::string xf(std::uint32_t format) {
  return rec(0x00E0, le16(0) + le16(format) + std::string(16, '\0'));
}
std::string format8(std::uint32_t id, const std::string& code) {
  return rec(0x041E, le16(id) + le16(static_cast<std::uint32_t>(code.size())) + '\0' + code);
}
std::string sst_tete(std::uint32_t n) {
  return le32(n) + le32(n);
}
// One SST string of 8-bit characters, whole.
std::string sst_chaine(const std::string& latin1) {
  return le16(static_cast<std::uint32_t>(latin1.size())) + '\0' + latin1;
}
std::string utf16(const std::u16string& t) {
  std::string r;
  for (char16_t c : t) r += le16(c);
  return r;
}

// The workbook stream: globals (BOF, what is given, one BOUNDSHEET per sheet
// with its offset, EOF), then each sheet's substream as given.
struct Feuille {
  std::string nom;
  std::string flux;  // from its BOF to its EOF
};

std::string feuille(const std::string& enregistrements, bool biff8 = true) {
  return rec(0x0809,
             le16(biff8 ? 0x0600 : 0x0500) + le16(0x0010) + std::string(biff8 ? 12 : 4, '\0')) +
         enregistrements + rec_eof();
}

std::string flux_biff(const std::string& globaux, const std::vector<Feuille>& feuilles,
                      bool biff8 = true) {
  const std::string bof =
      rec(0x0809, le16(biff8 ? 0x0600 : 0x0500) + le16(0x0005) + std::string(biff8 ? 12 : 4, '\0'));
  std::size_t taille = bof.size() + globaux.size() + 4;  // and the EOF
  for (const auto& f : feuilles) taille += 4 + 6 + (biff8 ? 2 : 1) + f.nom.size();
  std::string r = bof + globaux;
  std::size_t position = taille;
  for (const auto& f : feuilles) {
    std::string d = le32(static_cast<std::uint32_t>(position)) + le16(0);
    d += static_cast<char>(f.nom.size());
    if (biff8) d += '\0';
    r += rec(0x0085, d + f.nom);
    position += f.flux.size();
  }
  r += rec_eof();
  for (const auto& f : feuilles) r += f.flux;
  return r;
}

// ---------------------------------------------------------------- zip packages

std::uint32_t crc32(const std::string& d) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFF;
  for (char ch : d) c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFF;
}

// A zip archive whose entries are stored uncompressed.
std::string zip(const std::vector<std::pair<std::string, std::string>>& entrees) {
  std::string local, central;
  for (const auto& [nom, donnees] : entrees) {
    const std::string commun = le16(20) + le16(0) + le16(0) + le16(0) + le16(0x21) +
                               le32(crc32(donnees)) +
                               le32(static_cast<std::uint32_t>(donnees.size())) +
                               le32(static_cast<std::uint32_t>(donnees.size())) +
                               le16(static_cast<std::uint32_t>(nom.size())) + le16(0);
    central += le32(0x02014b50) + le16(20) + commun + le16(0) + le16(0) + le16(0) + le32(0) +
               le32(static_cast<std::uint32_t>(local.size())) + nom;
    local += le32(0x04034b50) + commun + nom + donnees;
  }
  const auto n = static_cast<std::uint32_t>(entrees.size());
  return local + central + le32(0x06054b50) + le16(0) + le16(0) + le16(n) + le16(n) +
         le32(static_cast<std::uint32_t>(central.size())) +
         le32(static_cast<std::uint32_t>(local.size())) + le16(0);
}

std::string xlsx(const std::string& lignes, const std::string& chaines = "") {
  const std::string ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  std::vector<std::pair<std::string, std::string>> e = {
      {"xl/workbook.xml",
       "<workbook xmlns=\"" + ns +
           "\"><sheets><sheet name=\"Feuil1\" sheetId=\"1\"/></sheets></workbook>"},
      {"xl/worksheets/sheet1.xml",
       "<worksheet xmlns=\"" + ns + "\"><sheetData>" + lignes + "</sheetData></worksheet>"}};
  if (!chaines.empty())
    e.emplace_back("xl/sharedStrings.xml", "<sst xmlns=\"" + ns + "\">" + chaines + "</sst>");
  return zip(e);
}

std::string ods(const std::string& lignes) {
  return zip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
              {"content.xml",
               "<office:document-content "
               "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
               "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
               "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
               "<office:body><office:spreadsheet><table:table table:name=\"Feuille1\">" +
                   lignes +
                   "</table:table></office:spreadsheet></office:body>"
                   "</office:document-content>"}});
}

// ---------------------------------------------------------------- fixture

class ClasseurFabrique : public test::AvecDossier {
 protected:
  std::string destination() const { return programme_ + "~tmp_xls.csv"; }
  std::string texte() const { return test::DossierTemporaire::lire(destination()); }
  std::string ecrire(const std::string& nom, const std::string& octets) {
    chemin_ = dossier_->ecrire("donnees/" + nom, octets);
    return chemin_;
  }
  ResultatConversion convertir(int numero = 1, const LimitesClasseur& limites = {}) {
    return convertir_feuille_classeur(chemin_, numero, destination(), limites);
  }
  // A failure: its message, no text and nothing else in the program directory.
  std::string echec(const ResultatConversion& r, int numero = 1) {
    EXPECT_TRUE(r.erreur);
    EXPECT_FALSE(fs::exists(destination()));
    EXPECT_TRUE(fs::is_empty(programme_));
    return message_echec_classeur(r, chemin_, numero);
  }
  std::string endommage(const std::string& detail) const {
    return "classeur endommagé ou illisible :\n" + chemin_ + "\n\nfeuille n°1 non lue\n(" + detail +
           ")";
  }
  std::string chemin_;
};

// ---------------------------------------------------------------- valid .xls

// Formats: XF 0 general, XF 1 built-in 22 (date and time), XF 2 the workbook's
// own 164 "dd/mm/yyyy" (a date), XF 3 built-in 21 (a time).
std::string formats_globaux() {
  return format8(164, "dd/mm/yyyy") + xf(0) + xf(22) + xf(164) + xf(21);
}

TEST_F(ClasseurFabrique, XlsCellsOfEveryKind) {
  // Shared strings: "Date"; "Température" cut after "Temp", going on in a
  // CONTINUE as 16-bit characters; "abc" with one formatting run cut by a
  // second CONTINUE (no option byte: it is not characters); "x€y" in 16 bits
  // with 3 bytes of Far-East data.
  const std::string sst = rec(0x00FC, sst_tete(4) + sst_chaine("Date") + le16(11) + '\0' + "Temp");
  const std::string suite1 = rec(0x003C, std::string("\x01") + utf16(u"érature") + le16(3) +
                                             '\x08' + le16(1) + "abc" + le16(0));
  const std::string suite2 =
      rec(0x003C, le16(0) + le16(3) + '\x05' + le32(3) + utf16(u"x€y") + "FE!");
  const std::string cellules =
      dimensions(0, 6, 0, 3) + labelsst(0, 0, 0) + labelsst(0, 1, 1) + label(0, 2, "Etat") +
      nombre(1, 0, 1, 45352.5) + rk(1, 1, 0, rk_centiemes(1234)) + boolerr(1, 2, 1, false) +
      rk(2, 0, 2, rk_entier(45353)) + mulrk(2, 1, {rk_double(2.5), rk_entier(-3)}) +
      rec(0x0201, cellule(3, 1, 0)) +  // BLANK: an empty row stays in the range
      formule(4, 0, 0, resultat_special(0, 0)) + chaine_formule("fin") +
      formule(4, 1, 0, le64(7.5)) + formule(4, 2, 0, resultat_special(2, 0x07)) +
      nombre(5, 0, 3, 0.75) + labelsst(5, 1, 2) + labelsst(5, 2, 3);
  ecrire("valide.xls",
         composite("Workbook", flux_biff(formats_globaux() + sst + suite1 + suite2,
                                         {{"Donn\xe9"
                                           "es",
                                           feuille(cellules)},
                                          {"Vide", feuille(dimensions(0, 0, 0, 0))}})));
  ResultatConversion r = convertir();
  ASSERT_FALSE(r.erreur) << message_echec_classeur(r, chemin_, 1);
  EXPECT_EQ(r.nom_feuille, "Données");
  EXPECT_EQ(r.nb_feuilles, 2);
  EXPECT_EQ(texte(),
            "Date;Temp\xe9rature;Etat\r\n"
            "01/03/2024 12:00:00;12.34;VRAI\r\n"
            "02/03/2024;2.5;-3\r\n"
            ";;\r\n"
            "fin;7.5;#DIV/0!\r\n"
            "18:00:00;abc;x\x80y\r\n");
  EXPECT_EQ(r.nb_lignes, 6u);

  r = convertir(2);
  EXPECT_FALSE(r.erreur);
  EXPECT_TRUE(r.feuille_vide);
  EXPECT_EQ(r.nom_feuille, "Vide");
  EXPECT_FALSE(fs::exists(destination()));

  r = convertir(3);
  EXPECT_EQ(r.erreur.genre, EchecClasseur::feuille_absente);
  EXPECT_EQ(r.nb_feuilles, 2);
  EXPECT_TRUE(fs::is_empty(programme_));
}

TEST_F(ClasseurFabrique, XlsCellsOutOfOrderAndRewritten) {
  // Records come in any order; of two records of one cell the later counts;
  // a formula's text in a STRING record going on in a CONTINUE; a cell past
  // the sheet's declared dimensions is read all the same.
  const std::string cellules =
      dimensions(0, 2, 0, 2) + nombre(1, 1, 0, 2) + nombre(0, 0, 0, 1) + nombre(1, 1, 0, 3) +
      formule(0, 1, 0, resultat_special(0, 0)) + rec(0x0207, le16(6) + '\0' + "abc") +
      rec(0x003C, std::string("\x01") + utf16(u"déf")) + boolerr(3, 3, 0, false);
  ecrire("desordre.xls", composite("Workbook", flux_biff("", {{"F", feuille(cellules)}})));
  const ResultatConversion r = convertir();
  ASSERT_FALSE(r.erreur) << message_echec_classeur(r, chemin_, 1);
  EXPECT_EQ(texte(),
            "1;abcd\xe9"
            "f;;\r\n"
            ";3;;\r\n"
            ";;;\r\n"
            ";;;FAUX\r\n");
}

TEST_F(ClasseurFabrique, XlsOfExcel95) {
  // BIFF5: a "Book" stream, 8-bit texts of the code page, a format of one
  // length byte, sheet names of one length byte, LABEL texts of two.
  const std::string globaux = rec(0x041E, le16(164) + '\x0a' + "dd/mm/yyyy") + xf(0) + xf(164);
  const std::string cellules = rec(0x0204, cellule(0, 0, 0) + le16(5) +
                                               "D\xe9"
                                               "bit") +
                               rec(0x0204, cellule(0, 1, 0) + le16(4) + "Jour") +
                               nombre(1, 0, 0, 3.5) + rk(1, 1, 1, rk_entier(45352));
  ecrire("excel95.xls",
         composite("Book", flux_biff(globaux, {{"Feuil1", feuille(cellules, false)}}, false)));
  const ResultatConversion r = convertir();
  ASSERT_FALSE(r.erreur) << message_echec_classeur(r, chemin_, 1);
  EXPECT_EQ(r.nom_feuille, "Feuil1");
  EXPECT_EQ(texte(),
            "D\xe9"
            "bit;Jour\r\n3.5;01/03/2024\r\n");
}

// ---------------------------------------------------------------- damaged .xls

struct CasXls {
  const char* nom;
  std::string flux;  // the workbook stream
  const char* detail;
};

std::vector<CasXls> cas_endommages() {
  const std::string une = feuille(nombre(0, 0, 0, 1));
  const std::string bof_globaux = rec(0x0809, le16(0x0600) + le16(0x0005) + std::string(12, '\0'));
  std::string coupe = flux_biff("", {{"F", feuille(nombre(0, 0, 0, 1))}});
  coupe.resize(coupe.size() - 4 - 10);  // the NUMBER cut after 4 of its 14 bytes, no EOF
  std::string sans_fin = flux_biff("", {{"F", feuille(nombre(0, 0, 0, 1))}});
  sans_fin.resize(sans_fin.size() - 4);  // the sheet's EOF missing
  std::string loin = flux_biff("", {{"F", une}});
  loin.replace(bof_globaux.size() + 4, 4, le32(1u << 20));  // offset past the stream
  std::string ailleurs = flux_biff("", {{"F", une}});
  ailleurs.replace(bof_globaux.size() + 4, 4, le32(0x10));  // offset inside the globals
  return {
      {"sst_trop_longue",
       flux_biff(rec(0x00FC, sst_tete(1) + le16(1000) + '\0' + "court"), {{"F", une}}),
       "table des chaînes partagées tronquée"},
      {"continue_coupee",
       flux_biff(rec(0x00FC, sst_tete(1) + le16(11) + '\0' + "Temp") +
                     rec(0x003C, std::string("\x01") + utf16(u"éra")),
                 {{"F", une}}),
       "table des chaînes partagées tronquée"},
      {"caractere_coupe",  // a 16-bit character split by the record boundary
       flux_biff(rec(0x00FC, sst_tete(1) + le16(2) + '\x01' + "a") +
                     rec(0x003C, std::string("\x01\0b\0", 4)),
                 {{"F", une}}),
       "table des chaînes partagées tronquée"},
      {"runs_absents",
       flux_biff(rec(0x00FC, sst_tete(1) + le16(1) + '\x08' + le16(3) + "a" + le32(0)),
                 {{"F", une}}),
       "table des chaînes partagées tronquée"},
      {"sst_absente", flux_biff("", {{"F", feuille(labelsst(0, 0, 7))}}),
       "chaîne partagée 7 absente"},
      {"mulrk_au_dela",  // the last column claims three values, the record holds two
       flux_biff("", {{"F", feuille(rec(0x00BD, le16(0) + le16(1) + le16(0) + le32(rk_entier(1)) +
                                                    le16(0) + le32(rk_entier(2)) + le16(3)))}}),
       "enregistrement MULRK incohérent"},
      {"mulrk_bancal",
       flux_biff("", {{"F", feuille(rec(0x00BD, le16(0) + le16(1) + le16(0) + le32(rk_entier(1)) +
                                                    std::string(3, '\0') + le16(1)))}}),
       "enregistrement MULRK incohérent"},
      {"nombre_court",
       flux_biff("", {{"F", feuille(rec(0x0203, cellule(0, 0, 0) + std::string(4, '\0')))}}),
       "enregistrement de cellule tronqué"},
      {"label_trop_long",
       flux_biff("", {{"F", feuille(rec(0x0204, cellule(0, 0, 0) + le16(200) + '\0' + "abc"))}}),
       "enregistrement de cellule tronqué"},
      {"chaine_formule_coupee",
       flux_biff("", {{"F", feuille(formule(0, 0, 0, resultat_special(0, 0)) +
                                    rec(0x0207, le16(9) + '\0' + "abc"))}}),
       "enregistrement de cellule tronqué"},
      {"enregistrement_coupe", coupe, "enregistrement tronqué"},
      {"sans_fin_de_feuille", sans_fin, "fin de feuille absente"},
      {"feuille_hors_du_flux", loin, "feuille hors du classeur"},
      {"feuille_sans_debut", ailleurs, "début de feuille introuvable"},
      {"sans_debut", rec(0x0022, le16(0)) + rec_eof(), "début du classeur introuvable"},
      {"globaux_coupes", bof_globaux + le16(0x0085) + le16(40) + "abc", "enregistrement tronqué"},
      {"format_coupe", flux_biff(rec(0x041E, le16(164) + le16(30) + '\0' + "dd"), {{"F", une}}),
       "format de nombre tronqué"},
      {"nom_de_feuille_coupe",
       bof_globaux + rec(0x0085, le32(0) + le16(0) + '\x20' + '\0' + "F") + rec_eof(),
       "feuille déclarée tronquée"},
  };
}

TEST_F(ClasseurFabrique, DamagedXlsGivesTheDamagedWorkbookMessage) {
  for (const CasXls& c : cas_endommages()) {
    SCOPED_TRACE(c.nom);
    ecrire(std::string(c.nom) + ".xls", composite("Workbook", c.flux));
    const ResultatConversion r = convertir();
    EXPECT_EQ(r.erreur.genre, EchecClasseur::endommage);
    EXPECT_EQ(echec(r), endommage(c.detail));
  }
}

TEST_F(ClasseurFabrique, EveryCutOfAValidXlsEndsCleanly) {
  // The stream of a valid workbook cut at every length, and every byte of
  // its first cells changed: a text or a failure, never a read past the data.
  const std::string sst = rec(0x00FC, sst_tete(2) + sst_chaine("Date") + le16(6) + '\0' + "Va") +
                          rec(0x003C, std::string("\x01") + utf16(u"leur"));
  const std::string flux =
      flux_biff(formats_globaux() + sst,
                {{"F", feuille(labelsst(0, 0, 0) + labelsst(0, 1, 1) + nombre(1, 0, 1, 45352.5) +
                               mulrk(1, 1, {rk_entier(4)}) +
                               formule(2, 0, 0, resultat_special(0, 0)) + chaine_formule("ok"))}});
  ecrire("entier.xls", composite("Workbook", flux));
  ResultatConversion r = convertir();
  ASSERT_FALSE(r.erreur) << message_echec_classeur(r, chemin_, 1);
  EXPECT_EQ(texte(), "Date;Valeur\r\n01/03/2024 12:00:00;4\r\nok;\r\n");
  for (std::size_t n = 0; n < flux.size(); ++n) {
    ecrire("coupe.xls", composite("Workbook", flux.substr(0, n)));
    r = convertir();
    ASSERT_TRUE(r.erreur) << n;
    EXPECT_FALSE(fs::exists(destination())) << n;
  }
  for (std::size_t i = 0; i < flux.size(); ++i) {
    std::string change = flux;
    change[i] = static_cast<char>(change[i] ^ 0x5A);
    ecrire("change.xls", composite("Workbook", change));
    r = convertir();
    if (r.erreur) {
      EXPECT_FALSE(fs::exists(destination())) << i;
    }
    fs::remove(destination());
  }
}

TEST_F(ClasseurFabrique, XlsCellFarFromTheOthers) {
  // A1 and a cell at row 65536, column 2000: 131 million cells for 2 values.
  ecrire("loin.xls",
         composite("Workbook",
                   flux_biff("", {{"F", feuille(dimensions(0, 1, 0, 1) + nombre(0, 0, 0, 1) +
                                                nombre(65535, 1999, 0, 2))}})));
  const ResultatConversion r = convertir();
  EXPECT_EQ(r.erreur.genre, EchecClasseur::plage_demesuree);
  EXPECT_EQ(echec(r), "classeur trop grand pour ses données :\n" + chemin_ +
                          "\n\nla feuille n°1 s'étend sur A1:BXX65536 (65 536 lignes de 2 000 "
                          "colonnes) pour 2 cellules non vides\n\nfeuille n°1 non lue => effacer "
                          "les cellules isolées loin des données");
}

// ---------------------------------------------------------------- far cells

TEST_F(ClasseurFabrique, FarCellOfAnXlsxOrAnOdsIsRefusedBeforeWriting) {
  const std::string message_attendu =
      "\n\nla feuille n°1 s'étend sur A1:BXX1000000 (1 000 000 lignes de 2 000 colonnes) pour 2 "
      "cellules non vides\n\nfeuille n°1 non lue => effacer les cellules isolées loin des "
      "données";
  ecrire("loin.xlsx", xlsx("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>a</t></is></c></row>"
                           "<row r=\"1000000\"><c r=\"BXX1000000\"><v>1</v></c></row>"));
  ResultatConversion r = convertir();
  EXPECT_EQ(echec(r), "classeur trop grand pour ses données :\n" + chemin_ + message_attendu);

  ecrire("loin.ods",
         ods("<table:table-row><table:table-cell office:value-type=\"string\"><text:p>a</text:p>"
             "</table:table-cell></table:table-row>"
             "<table:table-row table:number-rows-repeated=\"999998\"><table:table-cell/>"
             "</table:table-row>"
             "<table:table-row><table:table-cell table:number-columns-repeated=\"1999\"/>"
             "<table:table-cell office:value-type=\"float\" office:value=\"1\"/>"
             "</table:table-row>"));
  r = convertir();
  EXPECT_EQ(echec(r), "classeur trop grand pour ses données :\n" + chemin_ + message_attendu);
}

TEST_F(ClasseurFabrique, EmptyCellsOfTheRangeBoundedByTheValuedOnes) {
  // A1 and D3: 12 cells of range for 2 values. Within 10 cells whatever the
  // values, or 4 per value: 2 values allow 8, refused; a third allows 12.
  LimitesClasseur limites;
  limites.cases_garanties = 10;
  limites.cases_par_cellule = 4;
  ecrire("clairseme.xlsx", xlsx("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                                "<row r=\"3\"><c r=\"D3\"><v>2</v></c></row>"));
  ResultatConversion r = convertir(1, limites);
  EXPECT_EQ(r.erreur.genre, EchecClasseur::plage_demesuree);
  EXPECT_EQ(r.erreur.detail, "A1:D3 (3 lignes de 4 colonnes) pour 2 cellules non vides");
  EXPECT_TRUE(fs::is_empty(programme_));

  ecrire("clairseme.xlsx", xlsx("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                                "<row r=\"2\"><c r=\"B2\"><v>5</v></c></row>"
                                "<row r=\"3\"><c r=\"D3\"><v>2</v></c></row>"));
  r = convertir(1, limites);
  ASSERT_FALSE(r.erreur) << r.erreur.detail;
  EXPECT_EQ(texte(), "1;;;\r\n;5;;\r\n;;;2\r\n");

  // Within the default limits a sparse sheet is written as it stands.
  ecrire("clairseme.xlsx", xlsx("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                                "<row r=\"3\"><c r=\"D3\"><v>2</v></c></row>"));
  r = convertir();
  ASSERT_FALSE(r.erreur) << r.erreur.detail;
  EXPECT_EQ(texte(), "1;;;\r\n;;;\r\n;;;2\r\n");
}

// ---------------------------------------------------------------- shared strings

std::string lignes_partagees(int n) {
  std::string l;
  for (int i = 1; i <= n; ++i)
    l += "<row r=\"" + std::to_string(i) + "\"><c r=\"A" + std::to_string(i) +
         "\" t=\"s\"><v>0</v></c><c r=\"B" + std::to_string(i) + "\"><v>" + std::to_string(i) +
         "</v></c></row>";
  return l;
}

TEST_F(ClasseurFabrique, LargeSharedStringUsedManyTimesIsRefusedBeforeWriting) {
  // 2 MiB used by 500 cells: a text of 1 GB from a workbook of 2 MB.
  ecrire("partagee.xlsx",
         xlsx(lignes_partagees(500), "<si><t>" + std::string(2 << 20, 'x') + "</t></si>"));
  const ResultatConversion r = convertir();
  EXPECT_EQ(r.erreur.genre, EchecClasseur::trop_volumineux);
  // 500 rows of the 2 097 152 bytes, the digits of 1..500 (9 + 90 * 2 + 401 * 3
  // = 1 392), ";" and CR LF: 1 048 578 892 bytes, beyond 256 MiB and 64 times
  // the workbook's size.
  const std::string taille = std::to_string(fs::file_size(chemin_));
  ASSERT_EQ(taille.size(), 7u);  // a little over 2 MB
  EXPECT_EQ(echec(r), "la feuille n°1 du classeur\n" + chemin_ +
                          "\n\n est trop volumineuse pour être convertie\n(texte converti de 1 048 "
                          "578 892 octets pour un classeur de " +
                          taille.substr(0, 1) + " " + taille.substr(1, 3) + " " + taille.substr(4) +
                          " octets)");
}

TEST_F(ClasseurFabrique, SharedStringUsedManyTimesIsWrittenEachTime) {
  // 1 000 characters (with accents) used by 300 cells, the row number beside.
  std::string chaine;
  for (int i = 0; i < 200; ++i) chaine += "abcé\t";  // a tabulation separates fields
  ecrire("partagee.xlsx", xlsx(lignes_partagees(300), "<si><t>" + chaine + "</t></si>"));
  ResultatConversion r = convertir();
  ASSERT_FALSE(r.erreur) << r.erreur.detail;
  std::string attendu_cellule;
  for (int i = 0; i < 200; ++i) attendu_cellule += "abc\xe9;";
  std::string attendu;
  for (int i = 1; i <= 300; ++i) attendu += attendu_cellule + ";" + std::to_string(i) + "\r\n";
  EXPECT_EQ(texte(), attendu);
  EXPECT_EQ(r.taille, attendu.size());
  EXPECT_EQ(r.nb_lignes, 300u);

  // Beyond the limit of the converted text, refused before anything is written.
  LimitesClasseur limites;
  limites.octets_texte = 100000;
  r = convertir(1, limites);
  EXPECT_EQ(r.erreur.genre, EchecClasseur::trop_volumineux);
  // Counted in UTF-8 (é is two bytes): 300 shared strings of 1 200 bytes, the
  // digits of 1..300 (9 + 90 * 2 + 201 * 3 = 792), and ";", CR LF on each row.
  EXPECT_EQ(r.erreur.detail, "texte converti de 361 692 octets, au-delà de 100 000");
  echec(r);
}

// ---------------------------------------------------------------- temporary text

TEST_F(ClasseurFabrique, TemporaryTextRemovedWhenTheRenameFails) {
  // The converted text cannot take the place of a folder of the same name.
  ecrire("petit.xlsx", xlsx("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"));
  fs::create_directories(destination());
  dossier_->ecrire("programme/~tmp_xls.csv/x", "occupé");
  const ResultatConversion r = convertir();
  EXPECT_EQ(r.erreur.genre, EchecClasseur::ecriture);
  std::vector<std::string> restes;
  for (const auto& e : fs::directory_iterator(programme_))
    restes.push_back(e.path().filename().string());
  EXPECT_EQ(restes, std::vector<std::string>{"~tmp_xls.csv"});
}

}  // namespace
}  // namespace tamso
