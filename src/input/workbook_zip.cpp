#include "input/workbook_zip.h"

#include <cstring>
#include <vector>

#include <expat.h>
#include <zip.h>

namespace tamso {

namespace {

constexpr char kSeparateurNs = '\x01';
constexpr std::size_t kBlocZip = 1 << 16;

struct ContexteXml {
  XML_Parser analyseur = nullptr;
  LecteurXml* lecteur = nullptr;
};

void arreter(ContexteXml& c) {
  XML_StopParser(c.analyseur, XML_FALSE);
}

void XMLCALL sur_ouverture(void* donnees, const XML_Char* nom, const XML_Char** attributs) {
  auto& c = *static_cast<ContexteXml*>(donnees);
  if (c.lecteur->erreur || c.lecteur->fini) return;
  c.lecteur->ouvrir(nom, attributs);
  if (c.lecteur->erreur || c.lecteur->fini) arreter(c);
}

void XMLCALL sur_fermeture(void* donnees, const XML_Char* nom) {
  auto& c = *static_cast<ContexteXml*>(donnees);
  if (c.lecteur->erreur || c.lecteur->fini) return;
  c.lecteur->fermer(nom);
  if (c.lecteur->erreur || c.lecteur->fini) arreter(c);
}

void XMLCALL sur_texte(void* donnees, const XML_Char* s, int n) {
  auto& c = *static_cast<ContexteXml*>(donnees);
  if (c.lecteur->erreur || c.lecteur->fini) return;
  c.lecteur->texte(std::string_view(s, static_cast<std::size_t>(n)));
  if (c.lecteur->erreur || c.lecteur->fini) arreter(c);
}

// Workbook parts never declare a document type; one that does may be trying
// entity expansion, and is refused.
void XMLCALL sur_doctype(void* donnees, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  auto& c = *static_cast<ContexteXml*>(donnees);
  if (c.lecteur->erreur || c.lecteur->fini) return;
  c.lecteur->erreur = {EchecClasseur::endommage, "déclaration de type de document refusée"};
  arreter(c);
}

ErreurClasseur erreur_zip(int code, const std::string& nom) {
  if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_ENCRNOTSUPP)
    return {EchecClasseur::chiffre, "partie " + nom + " chiffrée"};
  zip_error_t e;
  zip_error_init_with_code(&e, code);
  std::string detail = "partie " + nom + " illisible (" + zip_error_strerror(&e) + ")";
  zip_error_fini(&e);
  return {EchecClasseur::endommage, detail};
}

class EntreeZip {
 public:
  EntreeZip(zip_t* z, zip_uint64_t index) : f_(zip_fopen_index(z, index, 0)) {}
  ~EntreeZip() {
    if (f_) zip_fclose(f_);
  }
  EntreeZip(const EntreeZip&) = delete;
  EntreeZip& operator=(const EntreeZip&) = delete;
  zip_file_t* get() const { return f_; }

 private:
  zip_file_t* f_;
};

}  // namespace

std::string_view nom_local(const char* nom) {
  const char* p = std::strrchr(nom, kSeparateurNs);
  return p ? std::string_view(p + 1) : std::string_view(nom);
}

const char* attribut(const char** attributs, std::string_view local) {
  for (const char** a = attributs; a && *a; a += 2)
    if (nom_local(a[0]) == local) return a[1];
  return nullptr;
}

bool nom_est(const char* nom, std::string_view espace, std::string_view local) {
  const std::string_view n(nom);
  return n.size() == espace.size() + 1 + local.size() && n.substr(0, espace.size()) == espace &&
         n[espace.size()] == kSeparateurNs && n.substr(espace.size() + 1) == local;
}

const char* attribut_ns(const char** attributs, std::string_view espace, std::string_view local) {
  for (const char** a = attributs; a && *a; a += 2)
    if (nom_est(a[0], espace, local)) return a[1];
  return nullptr;
}

ArchiveZip::~ArchiveZip() {
  if (zip_) zip_discard(zip_);
}

ErreurClasseur ArchiveZip::ouvrir(const std::string& chemin) {
  int code = 0;
  zip_ = zip_open(chemin.c_str(), ZIP_RDONLY, &code);
  if (zip_) return {};
  if (code == ZIP_ER_OPEN || code == ZIP_ER_NOENT || code == ZIP_ER_READ)
    return {EchecClasseur::introuvable, "ouverture impossible"};
  if (code == ZIP_ER_NOZIP) return {EchecClasseur::pas_un_classeur, "pas une archive zip"};
  zip_error_t e;
  zip_error_init_with_code(&e, code);
  ErreurClasseur r{EchecClasseur::endommage,
                   std::string("archive zip endommagée (") + zip_error_strerror(&e) + ")"};
  zip_error_fini(&e);
  return r;
}

bool ArchiveZip::contient(const std::string& nom) const {
  return trouver(nom).has_value();
}

std::optional<std::string> ArchiveZip::trouver(const std::string& nom) const {
  if (!zip_ || nom.empty()) return std::nullopt;
  zip_int64_t i = zip_name_locate(zip_, nom.c_str(), 0);
  if (i < 0) i = zip_name_locate(zip_, nom.c_str(), ZIP_FL_NOCASE);
  if (i < 0) return std::nullopt;
  const char* exact = zip_get_name(zip_, static_cast<zip_uint64_t>(i), 0);
  return exact ? std::optional<std::string>(exact) : std::nullopt;
}

ErreurClasseur ArchiveZip::analyser(const std::string& nom, LecteurXml& lecteur,
                                    const LimitesClasseur& limites) const {
  const auto exact = trouver(nom);
  if (!exact) return {EchecClasseur::endommage, "partie " + nom + " absente"};
  const zip_int64_t index = zip_name_locate(zip_, exact->c_str(), 0);
  zip_stat_t st;
  zip_stat_init(&st);
  if (index < 0 || zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &st) != 0)
    return {EchecClasseur::endommage, "partie " + nom + " illisible"};
  if ((st.valid & ZIP_STAT_SIZE) && st.size > limites.octets_partie)
    return {EchecClasseur::trop_volumineux, "partie " + nom + " trop volumineuse"};
  EntreeZip f(zip_, static_cast<zip_uint64_t>(index));
  if (!f.get()) return erreur_zip(zip_error_code_zip(zip_get_error(zip_)), nom);

  XML_Parser p = XML_ParserCreateNS(nullptr, kSeparateurNs);
  if (!p) return {EchecClasseur::endommage, "mémoire insuffisante"};
  ContexteXml contexte{p, &lecteur};
  XML_SetUserData(p, &contexte);
  XML_SetElementHandler(p, sur_ouverture, sur_fermeture);
  XML_SetCharacterDataHandler(p, sur_texte);
  XML_SetStartDoctypeDeclHandler(p, sur_doctype);

  ErreurClasseur resultat;
  std::vector<char> bloc(kBlocZip);
  std::uint64_t total = 0;
  for (;;) {
    const zip_int64_t n = zip_fread(f.get(), bloc.data(), bloc.size());
    if (n < 0) {
      resultat = erreur_zip(zip_error_code_zip(zip_file_get_error(f.get())), nom);
      break;
    }
    total += static_cast<std::uint64_t>(n);
    if (total > limites.octets_partie) {
      resultat = {EchecClasseur::trop_volumineux, "partie " + nom + " trop volumineuse"};
      break;
    }
    const bool fin = n == 0;
    if (XML_Parse(p, bloc.data(), static_cast<int>(n), fin) == XML_STATUS_ERROR) {
      if (lecteur.fini && !lecteur.erreur) break;
      if (lecteur.erreur) {
        resultat = lecteur.erreur;
      } else {
        resultat = {EchecClasseur::endommage, "XML invalide dans " + nom + " (ligne " +
                                                  std::to_string(XML_GetCurrentLineNumber(p)) +
                                                  " : " + XML_ErrorString(XML_GetErrorCode(p)) +
                                                  ")"};
      }
      break;
    }
    if (fin) break;
  }
  XML_ParserFree(p);
  if (!resultat && lecteur.erreur) resultat = lecteur.erreur;
  return resultat;
}

std::optional<std::string> ArchiveZip::lire_petite_entree(const std::string& nom,
                                                          std::uint64_t maximum) const {
  const auto exact = trouver(nom);
  if (!exact) return std::nullopt;
  const zip_int64_t index = zip_name_locate(zip_, exact->c_str(), 0);
  if (index < 0) return std::nullopt;
  EntreeZip f(zip_, static_cast<zip_uint64_t>(index));
  if (!f.get()) return std::nullopt;
  std::string contenu;
  char bloc[4096];
  for (;;) {
    const zip_int64_t n = zip_fread(f.get(), bloc, sizeof bloc);
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    contenu.append(bloc, static_cast<std::size_t>(n));
    if (contenu.size() > maximum) return std::nullopt;
  }
  return contenu;
}

std::string resoudre_cible(std::string_view dossier_source, std::string_view cible) {
  std::string chemin;
  if (!cible.empty() && cible.front() == '/')
    chemin = std::string(cible.substr(1));
  else
    chemin = std::string(dossier_source) + std::string(cible);
  std::vector<std::string> morceaux;
  std::size_t debut = 0;
  while (debut <= chemin.size()) {
    std::size_t fin = chemin.find('/', debut);
    if (fin == std::string::npos) fin = chemin.size();
    const std::string m = chemin.substr(debut, fin - debut);
    if (m == "..") {
      if (morceaux.empty()) return {};
      morceaux.pop_back();
    } else if (!m.empty() && m != ".") {
      morceaux.push_back(m);
    }
    debut = fin + 1;
  }
  std::string r;
  for (const auto& m : morceaux) r += (r.empty() ? "" : "/") + m;
  return r;
}

}  // namespace tamso
