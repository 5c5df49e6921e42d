#include "input/xle.h"

#include <cstdio>
#include <map>
#include <vector>

#include <expat.h>

#include "input/encoding.h"
#include "input/files.h"
#include "input/text.h"

namespace tamso {

namespace {

constexpr std::size_t kBlocLecture = 1 << 16;
constexpr std::size_t kTexteMax = 1 << 16;  // characters of one element's text
constexpr std::size_t kTamponEcriture = 1 << 20;
constexpr int kCanalMax = 9999;

bool egal_sans_casse_ascii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The channel number of "ch<N>" followed by `suite` ("ch2", "Ch2_data_header"),
// 0 when the name is not of that form.
int numero_canal(std::string_view nom, std::string_view suite) {
  if (nom.size() <= 2 + suite.size() || !egal_sans_casse_ascii(nom.substr(0, 2), "ch") ||
      !egal_sans_casse_ascii(nom.substr(nom.size() - suite.size()), suite))
    return 0;
  const std::string_view chiffres = nom.substr(2, nom.size() - 2 - suite.size());
  if (chiffres.size() > 4) return 0;
  int n = 0;
  for (char c : chiffres) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n >= 1 && n <= kCanalMax ? n : 0;
}

// A text of the export as one field of the converted line.
std::string champ_texte(std::string_view utf8) {
  std::string t(utf8);
  for (char& c : t)
    if (c == ';' || c == '\t' || c == '\r' || c == '\n') c = ' ';
  const std::size_t debut = t.find_first_not_of(' ');
  if (debut == std::string::npos) return {};
  t = t.substr(debut, t.find_last_not_of(' ') - debut + 1);
  return utf8_vers_cp1252_translittere(t);
}

struct Canal {
  std::string identification, unite;
};

// The events of the parser, turned into lines as they come.
class LecteurXle {
 public:
  explicit LecteurXle(std::FILE* sortie) : sortie_(sortie) {}

  void ouvrir(std::string_view nom) {
    ++profondeur_;
    cible_ = nullptr;
    if (profondeur_ == 1) {
      if (nom != "Body_xle")
        echouer("élément racine <" + std::string(nom) +
                "> : pas un export Solinst (<Body_xle> attendu)");
      return;
    }
    if (profondeur_ == 2) {
      canal_ = numero_canal(nom, "_data_header");
      if (canal_ > 0 && titres_ecrits_) canal_ = 0;  // too late for the titles
      if (canal_ > 0) canaux_.try_emplace(canal_);
      if (egal_sans_casse_ascii(nom, "Data")) {
        dans_donnees_ = true;
        ecrire_titres();
      }
      return;
    }
    if (profondeur_ == 3) {
      if (canal_ > 0) {
        if (egal_sans_casse_ascii(nom, "Identification"))
          cible_ = &canaux_[canal_].identification;
        else if (egal_sans_casse_ascii(nom, "Unit"))
          cible_ = &canaux_[canal_].unite;
      } else if (dans_donnees_ && egal_sans_casse_ascii(nom, "Log")) {
        dans_log_ = true;
        date_.clear();
        heure_.clear();
        ms_.clear();
        for (auto& v : valeurs_) v.clear();
      }
      if (cible_) cible_->clear();
      return;
    }
    if (profondeur_ == 4 && dans_log_) {
      if (egal_sans_casse_ascii(nom, "Date")) {
        cible_ = &date_;
      } else if (egal_sans_casse_ascii(nom, "Time")) {
        cible_ = &heure_;
      } else if (egal_sans_casse_ascii(nom, "ms")) {
        cible_ = &ms_;
      } else if (const int n = numero_canal(nom, ""); n > 0) {
        const auto it = colonne_.find(n);
        if (it != colonne_.end()) cible_ = &valeurs_[it->second];
      }
      if (cible_) cible_->clear();
    }
  }

  void fermer() {
    if (profondeur_ == 3 && dans_log_) {
      dans_log_ = false;
      ecrire_enregistrement();
    } else if (profondeur_ == 2) {
      canal_ = 0;
      dans_donnees_ = false;
    }
    cible_ = nullptr;
    --profondeur_;
  }

  void texte(std::string_view s) {
    if (!cible_) return;
    if (cible_->size() + s.size() > kTexteMax) {
      echouer("texte de plus de " + std::to_string(kTexteMax) + " caractères");
      return;
    }
    cible_->append(s);
  }

  // Ends the text: the titles of an export without records, the last bytes.
  void terminer() {
    ecrire_titres();
    vider();
  }

  const std::string& erreur() const { return erreur_; }
  void echouer(std::string detail) {
    if (erreur_.empty()) erreur_ = std::move(detail);
  }
  std::uint64_t nb_enregistrements() const { return nb_enregistrements_; }
  int nb_canaux() const { return static_cast<int>(canaux_.size()); }

 private:
  void ecrire_titres() {
    if (titres_ecrits_) return;
    titres_ecrits_ = true;
    tampon_ += "Date;Time;ms";
    for (const auto& [n, c] : canaux_) {
      colonne_[n] = valeurs_.size();
      valeurs_.emplace_back();
      std::string titre = champ_texte(c.identification);
      if (titre.empty()) titre = "ch" + std::to_string(n);
      const std::string unite = champ_texte(c.unite);
      if (!unite.empty()) titre += " [" + unite + "]";
      tampon_ += ';' + titre;
    }
    tampon_ += "\r\n";
  }

  void ecrire_enregistrement() {
    tampon_ += champ_texte(date_) + ';' + champ_texte(heure_) + ';' + champ_texte(ms_);
    for (const auto& v : valeurs_) tampon_ += ';' + champ_texte(v);
    tampon_ += "\r\n";
    ++nb_enregistrements_;
    if (tampon_.size() >= kTamponEcriture) vider();
  }

  void vider() {
    if (!tampon_.empty() &&
        std::fwrite(tampon_.data(), 1, tampon_.size(), sortie_) != tampon_.size())
      echouer("écriture impossible");
    tampon_.clear();
  }

  std::FILE* sortie_;
  int profondeur_ = 0;
  int canal_ = 0;  // the channel whose header is being read
  bool dans_donnees_ = false, dans_log_ = false, titres_ecrits_ = false;
  std::map<int, Canal> canaux_;
  std::map<int, std::size_t> colonne_;  // channel number -> index of its value
  std::string date_, heure_, ms_;
  std::vector<std::string> valeurs_;
  std::string* cible_ = nullptr;  // where the text of the current element goes
  std::string tampon_;
  std::string erreur_;
  std::uint64_t nb_enregistrements_ = 0;
};

struct Contexte {
  XML_Parser analyseur;
  LecteurXle* lecteur;
};

void XMLCALL sur_ouverture(void* donnees, const XML_Char* nom, const XML_Char**) {
  auto& c = *static_cast<Contexte*>(donnees);
  c.lecteur->ouvrir(nom);
  if (!c.lecteur->erreur().empty()) XML_StopParser(c.analyseur, XML_FALSE);
}

void XMLCALL sur_fermeture(void* donnees, const XML_Char*) {
  auto& c = *static_cast<Contexte*>(donnees);
  c.lecteur->fermer();
  if (!c.lecteur->erreur().empty()) XML_StopParser(c.analyseur, XML_FALSE);
}

void XMLCALL sur_texte(void* donnees, const XML_Char* s, int n) {
  auto& c = *static_cast<Contexte*>(donnees);
  c.lecteur->texte(std::string_view(s, static_cast<std::size_t>(n)));
  if (!c.lecteur->erreur().empty()) XML_StopParser(c.analyseur, XML_FALSE);
}

// An export never declares a document type; one that does may be trying
// entity expansion, and is refused.
void XMLCALL sur_doctype(void* donnees, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  auto& c = *static_cast<Contexte*>(donnees);
  c.lecteur->echouer("déclaration de type de document refusée");
  XML_StopParser(c.analyseur, XML_FALSE);
}

// Windows-1252, which some exports declare, is not among the parser's own
// encodings: each byte is given its code point.
int XMLCALL sur_codage_inconnu(void*, const XML_Char* nom, XML_Encoding* info) {
  const std::string n = majuscules(nom);
  if (n != "WINDOWS-1252" && n != "CP1252" && n != "X-CP1252") return XML_STATUS_ERROR;
  for (int b = 0; b < 256; ++b) {
    const std::string utf8 = cp1252_vers_utf8(std::string(1, static_cast<char>(b)));
    char32_t code = 0;
    lire_sequence_utf8(utf8, 0, code);
    info->map[b] = static_cast<int>(code);
  }
  info->data = nullptr;
  info->convert = nullptr;
  info->release = nullptr;
  return XML_STATUS_OK;
}

class Fichier {
 public:
  Fichier(const std::string& chemin, const char* mode) : f_(std::fopen(chemin.c_str(), mode)) {}
  ~Fichier() { fermer(); }
  Fichier(const Fichier&) = delete;
  Fichier& operator=(const Fichier&) = delete;
  std::FILE* get() const { return f_; }
  bool fermer() {
    const bool ok = !f_ || std::fclose(f_) == 0;
    f_ = nullptr;
    return ok;
  }

 private:
  std::FILE* f_;
};

}  // namespace

bool ressemble_a_xle(std::string_view debut) {
  std::size_t i = debut.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  while (i < debut.size() &&
         (debut[i] == ' ' || debut[i] == '\t' || debut[i] == '\r' || debut[i] == '\n'))
    ++i;
  return debut.substr(i, 5) == "<?xml" && debut.find("<Body_xle", i) != std::string_view::npos;
}

ResultatXle convertir_xle(const std::string& source, const std::string& destination) {
  ResultatXle r;
  Fichier entree(source, "rb");
  if (!entree.get()) {
    supprimer_fichier(destination);
    r.erreur = "ouverture impossible";
    return r;
  }
  Fichier sortie(destination, "wb");
  if (!sortie.get()) {
    r.erreur = "écriture impossible : " + destination;
    return r;
  }
  LecteurXle lecteur(sortie.get());
  XML_Parser p = XML_ParserCreate(nullptr);
  if (!p) {
    r.erreur = "mémoire insuffisante";
  } else {
    Contexte contexte{p, &lecteur};
    XML_SetUserData(p, &contexte);
    XML_SetElementHandler(p, sur_ouverture, sur_fermeture);
    XML_SetCharacterDataHandler(p, sur_texte);
    XML_SetStartDoctypeDeclHandler(p, sur_doctype);
    XML_SetUnknownEncodingHandler(p, sur_codage_inconnu, nullptr);
    std::vector<char> bloc(kBlocLecture);
    for (;;) {
      const std::size_t n = std::fread(bloc.data(), 1, bloc.size(), entree.get());
      if (n == 0 && std::ferror(entree.get())) {
        lecteur.echouer("erreur de lecture");
        break;
      }
      const bool fin = n == 0;
      if (XML_Parse(p, bloc.data(), static_cast<int>(n), fin) == XML_STATUS_ERROR) {
        lecteur.echouer("XML invalide (ligne " + std::to_string(XML_GetCurrentLineNumber(p)) +
                        " : " + XML_ErrorString(XML_GetErrorCode(p)) + ")");
        break;
      }
      if (fin) break;
    }
    XML_ParserFree(p);
  }
  if (lecteur.erreur().empty() && r.erreur.empty()) lecteur.terminer();
  if (!sortie.fermer()) lecteur.echouer("écriture impossible : " + destination);
  r.erreur = r.erreur.empty() ? lecteur.erreur() : r.erreur;
  r.nb_enregistrements = lecteur.nb_enregistrements();
  r.nb_canaux = lecteur.nb_canaux();
  if (!r.erreur.empty()) supprimer_fichier(destination);
  return r;
}

}  // namespace tamso
