#include "input/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <signal.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "base/interaction.h"
#include "input/encoding.h"
#include "input/text.h"

namespace fs = std::filesystem;

namespace tamso {

bool finit_par_separateur(std::string_view chemin) {
  return !chemin.empty() && (chemin.back() == '/' || chemin.back() == '\\');
}

std::string avec_barre_finale(std::string_view repertoire) {
  std::string r(repertoire);
  if (!r.empty() && !finit_par_separateur(r)) r.push_back(kSeparateurChemin);
  return r;
}

std::string repertoire_programme() {
  std::string base;
  if (const char* home = std::getenv("TAMSO_HOME"); home && *home) {
    base = home;
  } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    base = std::string(xdg) + "/tamso";
  } else if (const char* h = std::getenv("HOME"); h && *h) {
    base = std::string(h) + "/.local/share/tamso";
  } else {
    base = fs::temp_directory_path().string() + "/tamso";
  }
  std::error_code ec;
  fs::create_directories(base, ec);
  return avec_barre_finale(base);
}

bool fichier_existe(const std::string& chemin) {
  std::error_code ec;
  return !chemin.empty() && fs::is_regular_file(chemin, ec);
}

void supprimer_fichier(const std::string& chemin) {
  std::error_code ec;
  fs::remove(chemin, ec);
}

bool repertoire_existe(const std::string& chemin) {
  std::error_code ec;
  return !chemin.empty() && fs::is_directory(chemin, ec);
}

std::uintmax_t taille_fichier(const std::string& chemin) {
  std::error_code ec;
  const std::uintmax_t n = fs::file_size(chemin, ec);
  return ec ? 0 : n;
}

std::string repertoire_de(std::string_view chemin) {
  const std::size_t p = chemin.find_last_of("/\\");
  if (p == std::string_view::npos) return {};
  return std::string(chemin.substr(0, p + 1));
}

std::string nom_de_fichier(std::string_view chemin) {
  const std::size_t p = chemin.find_last_of("/\\");
  return std::string(p == std::string_view::npos ? chemin : chemin.substr(p + 1));
}

std::vector<std::string> decouper_lignes(std::string_view texte) {
  std::vector<std::string> lignes;
  std::size_t debut = 0;
  const std::size_t n = texte.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = texte[i];
    if (c == '\r' || c == '\n') {
      lignes.emplace_back(texte.substr(debut, i - debut));
      if (c == '\r' && i + 1 < n && texte[i + 1] == '\n') ++i;
      debut = i + 1;
    }
  }
  if (debut < n) lignes.emplace_back(texte.substr(debut));
  return lignes;
}

std::optional<std::vector<std::string>> lire_lignes_texte(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  if (!f) return std::nullopt;
  std::string octets((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (f.bad()) return std::nullopt;
  return decouper_lignes(cp1252_vers_utf8(octets));
}

std::string defaut_de_fichier(const std::string& chemin) {
  std::error_code ec;
  const fs::file_status etat = fs::status(chemin, ec);
  if (chemin.empty() || !fs::exists(etat)) return "introuvable";
  if (fs::is_regular_file(etat)) return {};
  if (fs::is_directory(etat)) return "est un répertoire";
  return "n'est pas un fichier ordinaire (tube nommé, périphérique)";
}

std::string nom_lisible(std::string_view nom) {
  std::string r;
  r.reserve(nom.size());
  for (const char c : nom) {
    switch (c) {
      case '\t':
        r += "\\t";
        break;
      case '\n':
        r += "\\n";
        break;
      case '\r':
        r += "\\r";
        break;
      default:
        r.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
    }
  }
  return r;
}

std::string raison_erreur_systeme(int erreur) {
  switch (erreur) {
    case ENOSPC:
      return "disque plein";
#ifdef EDQUOT
    case EDQUOT:
      return "quota de disque dépassé";
#endif
    case EACCES:
    case EPERM:
      return "permission refusée";
    case EROFS:
      return "disque en lecture seule";
    case ENAMETOOLONG:
      return "nom de fichier trop long";
    case ENOENT:
    case ENOTDIR:
      return "répertoire inexistant";
    case EISDIR:
      return "un répertoire porte ce nom";
    case EIO:
      return "erreur d'entrée-sortie du disque";
    default:
      return std::error_code(erreur, std::generic_category()).message();
  }
}

namespace {

// Writes all the bytes, resuming after interruptions; false with errno set.
bool ecrire_tout(int fd, const char* octets, std::size_t taille) {
  while (taille > 0) {
    const ssize_t n = ::write(fd, octets, taille);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    octets += n;
    taille -= static_cast<std::size_t>(n);
  }
  return true;
}

// Syncs a folder's entries (a rename inside it) to the disk.
void synchroniser_dossier(const std::string& dossier) {
  const int fd =
      ::open(dossier.empty() ? "." : dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

int FichierEnAttente::creer_temporaire(const std::string& chemin) {
  abandonner();
  raison_.clear();
  // Created new: a name already taken (an other write, a planted link) is
  // passed over for the next one.
  int fd = -1;
  for (int essai = 0; essai < 100 && fd < 0; ++essai) {
    temporaire_ = chemin + ".~" + std::to_string(::getpid()) +
                  (essai ? "-" + std::to_string(essai) : std::string()) + ".tmp";
    fd = ::open(temporaire_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    raison_ = raison_erreur_systeme(errno);
    temporaire_.clear();
    return -1;
  }
  chemin_ = chemin;
  return fd;
}

bool FichierEnAttente::fermer_temporaire(int fd, bool ok) {
  if (ok) ok = ::fsync(fd) == 0;
  if (!ok) raison_ = raison_erreur_systeme(errno);
  if (::close(fd) != 0 && ok) {
    ok = false;
    raison_ = raison_erreur_systeme(errno);
  }
  if (!ok) abandonner();
  return ok;
}

bool FichierEnAttente::ecrire_octets(const std::string& chemin, std::string_view octets) {
  const int fd = creer_temporaire(chemin);
  if (fd < 0) return false;
  return fermer_temporaire(fd, ecrire_tout(fd, octets.data(), octets.size()));
}

template <class Lignes>
bool FichierEnAttente::ecrire_lignes(const std::string& chemin, const Lignes& lignes,
                                     const std::function<void()>& vivre) {
  const int fd = creer_temporaire(chemin);
  if (fd < 0) return false;
  // Written in pieces of about a megabyte: the file is never held twice.
  constexpr std::size_t kMorceau = 1 << 20;
  std::string contenu;
  contenu.reserve(kMorceau + 4096);
  const auto ascii = [](std::string_view l) {
    for (const char c : l)
      if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
  };
  bool ok = true;
  for (const std::string_view l : lignes) {
    if (ascii(l))
      contenu += l;
    else
      contenu += utf8_vers_cp1252(l);
    contenu += "\r\n";
    if (contenu.size() >= kMorceau) {
      if (!(ok = ecrire_tout(fd, contenu.data(), contenu.size()))) break;
      contenu.clear();
      if (vivre) vivre();
    }
  }
  if (ok) ok = ecrire_tout(fd, contenu.data(), contenu.size());
  return fermer_temporaire(fd, ok);
}

bool FichierEnAttente::ecrire(const std::string& chemin, const std::vector<std::string>& lignes) {
  return ecrire_lignes(chemin, lignes);
}

bool FichierEnAttente::ecrire(const std::string& chemin, const LignesTexte& lignes,
                              const std::function<void()>& vivre) {
  return ecrire_lignes(chemin, lignes, vivre);
}

bool FichierEnAttente::mettre_en_place() {
  if (temporaire_.empty()) return false;
  if (::rename(temporaire_.c_str(), chemin_.c_str()) != 0) {
    raison_ = raison_erreur_systeme(errno);
    abandonner();
    return false;
  }
  temporaire_.clear();
  synchroniser_dossier(repertoire_de(chemin_));
  return true;
}

void FichierEnAttente::abandonner() {
  if (temporaire_.empty()) return;
  ::unlink(temporaire_.c_str());
  temporaire_.clear();
}

namespace {

// "<digits>" or "<digits><sep><digits>": the pid, else nothing.
std::optional<pid_t> pid_du_milieu(const std::string& milieu, char separateur) {
  const std::string pid_texte = milieu.substr(0, milieu.find(separateur));
  if (pid_texte.empty() || pid_texte.size() > 9 ||
      pid_texte.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  if (milieu.size() > pid_texte.size() &&
      (milieu.size() == pid_texte.size() + 1 ||
       milieu.find_first_not_of("0123456789", pid_texte.size() + 1) != std::string::npos))
    return std::nullopt;
  return static_cast<pid_t>(std::stol(pid_texte));
}

// The pid in the name of a temporary of this program: "<name>.~<pid>.tmp",
// "<name>.~<pid>-<k>.tmp" (files being written), "~converti_<pid>_<k>.txt"
// (converted data files).
std::optional<pid_t> pid_du_temporaire(const std::string& nom) {
  const auto finit_par = [&nom](std::string_view fin) {
    return nom.size() > fin.size() && nom.compare(nom.size() - fin.size(), fin.size(), fin) == 0;
  };
  if (finit_par(".tmp")) {
    const std::size_t marque = nom.rfind(".~");
    if (marque == std::string::npos) return std::nullopt;
    return pid_du_milieu(nom.substr(marque + 2, nom.size() - 4 - marque - 2), '-');
  }
  constexpr std::string_view kConverti = "~converti_";
  if (finit_par(".txt") && nom.compare(0, kConverti.size(), kConverti) == 0 &&
      nom.size() > kConverti.size() + 4)
    return pid_du_milieu(nom.substr(kConverti.size(), nom.size() - 4 - kConverti.size()), '_');
  return std::nullopt;
}

constexpr std::string_view kDossierLot = "~lot_";

// The pid of a batch run's folder of temporaries, "~lot_<pid>".
std::optional<pid_t> pid_du_dossier_temporaire(const std::string& nom) {
  if (nom.size() <= kDossierLot.size() || nom.compare(0, kDossierLot.size(), kDossierLot) != 0)
    return std::nullopt;
  const std::string pid = nom.substr(kDossierLot.size());
  if (pid.find('_') != std::string::npos) return std::nullopt;
  return pid_du_milieu(pid, '_');
}

bool processus_termine(pid_t pid) {
  return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

int supprimer_temporaires_orphelins(const std::string& dossier) {
  std::error_code ec;
  int supprimes = 0;
  for (fs::directory_iterator it(dossier.empty() ? "." : dossier, ec), fin; !ec && it != fin;
       it.increment(ec)) {
    const std::string nom = it->path().filename().string();
    std::error_code e;
    if (const auto lot = pid_du_dossier_temporaire(nom)) {
      // A batch run still going keeps its folder; a link is never followed.
      if (!processus_termine(*lot) || it->is_symlink(e) || !it->is_directory(e)) continue;
      if (fs::remove_all(it->path(), e) > 0 && !e) ++supprimes;
      continue;
    }
    const auto pid = pid_du_temporaire(nom);
    // A program still running (or another user's) keeps its temporary.
    if (!pid || !processus_termine(*pid)) continue;
    if (!it->is_regular_file(e) || it->is_symlink(e)) continue;
    if (fs::remove(it->path(), e)) ++supprimes;
  }
  return supprimes;
}

std::string creer_dossier_temporaire_processus(const std::string& dossier) {
  const std::string chemin = avec_barre_finale(dossier.empty() ? "." : dossier) +
                             std::string(kDossierLot) + std::to_string(::getpid());
  // No process alive has this pid: a folder already under this name was
  // left by an ended one (a link there is never followed, nor taken).
  if (::mkdir(chemin.c_str(), 0700) != 0) {
    std::error_code e;
    if (errno != EEXIST || fs::is_symlink(chemin, e) || !fs::is_directory(chemin, e)) return {};
    fs::remove_all(chemin, e);
    if (e || ::mkdir(chemin.c_str(), 0700) != 0) return {};
  }
  return avec_barre_finale(chemin);
}

Reservation reserver_fichier(const std::string& chemin) {
  const int fd = ::open(chemin.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    ::close(fd);
    return Reservation::reserve;
  }
  return errno == EEXIST ? Reservation::existe : Reservation::echec;
}

namespace {

template <class Lignes>
bool ecrire_et_placer(const std::string& chemin, const Lignes& lignes, std::string* raison) {
  FichierEnAttente f;
  const bool ok = f.ecrire(chemin, lignes) && f.mettre_en_place();
  if (!ok && raison) *raison = f.raison();
  return ok;
}

}  // namespace

bool ecrire_lignes_texte(const std::string& chemin, const std::vector<std::string>& lignes,
                         std::string* raison) {
  return ecrire_et_placer(chemin, lignes, raison);
}

bool ecrire_lignes_texte(const std::string& chemin, const LignesTexte& lignes,
                         std::string* raison) {
  return ecrire_et_placer(chemin, lignes, raison);
}

std::string lire_ligne_fichier(const std::string& chemin, int k) {
  if (k < 1) return {};
  const auto lignes = lire_lignes_texte(chemin);
  if (!lignes || static_cast<std::size_t>(k) > lignes->size()) return {};
  return (*lignes)[static_cast<std::size_t>(k - 1)];
}

bool ecrire_ligne_parametre(const std::string& texte, const std::string& chemin, int k,
                            Interaction& port) {
  if (k > kMaxParametre) {
    port.informer(TypeMessage::information, " max_parametre = " + std::to_string(kMaxParametre) +
                                                "\n" + " augmenter ce nombre dans le source...");
    return false;
  }
  if (k < 1) return false;
  std::vector<std::string> lignes = lire_lignes_texte(chemin).value_or(std::vector<std::string>{});
  lignes.resize(kMaxParametre);
  lignes[static_cast<std::size_t>(k - 1)] = texte;
  return ecrire_lignes_texte(chemin, lignes);
}

bool ecrire_fichier_une_ligne(const std::string& texte, const std::string& chemin) {
  return ecrire_lignes_texte(chemin, std::vector<std::string>{texte});
}

bool enregistrer_lignes(const std::vector<std::string>& zone, const std::string& chemin) {
  return ecrire_lignes_texte(chemin, zone);
}

std::vector<std::string> charger_lignes(const std::string& chemin) {
  return lire_lignes_texte(chemin).value_or(std::vector<std::string>{});
}

std::string extension_du_masque(std::string_view masque) {
  std::string ext = majuscules(masque);
  if (!ext.empty() && ext.front() == '*') ext.erase(0, 1);
  if (ext.find('.') == std::string::npos) ext.insert(0, ".");
  return ext;
}

namespace {

std::string extension_majuscule(const std::string& nom) {
  const std::size_t p = nom.rfind('.');
  if (p == std::string::npos) return {};
  return majuscules(nom.substr(p));
}

void chercher_fichiers(const std::string& sous_repertoire, const std::string& extension,
                       std::string& premier, const std::string& racine, int profondeur,
                       bool recursif, int& compte, std::vector<FichierTrouve>& liste) {
  std::error_code ec;
  fs::directory_iterator it(racine + sous_repertoire, ec);
  if (ec) return;
  struct Entree {
    std::string nom;
    bool dossier;
    std::uintmax_t taille;
  };
  std::vector<Entree> entrees;
  for (const auto& e : it) {
    std::string nom = e.path().filename().string();
    if (nom == "." || nom == "..") continue;
    // Only directories and regular files count. A link to a directory is not
    // followed (it may lead back up, out of the data folder or to files
    // already listed); a link to a regular file is listed as that file.
    // Pipes, sockets, devices and broken links are not data files: opening
    // a pipe would wait for a writer for ever.
    std::error_code ec2;
    const fs::file_status propre = e.symlink_status(ec2);
    if (ec2) continue;
    const bool dossier = fs::is_directory(propre);
    if (!dossier && !fs::is_regular_file(e.status(ec2))) continue;
    const std::uintmax_t taille = dossier ? 0 : e.file_size(ec2);
    entrees.push_back({std::move(nom), dossier, ec2 ? 0 : taille});
  }
  std::sort(entrees.begin(), entrees.end(),
            [](const Entree& a, const Entree& b) { return a.nom < b.nom; });
  for (const auto& e : entrees) {
    if (e.dossier) {
      const bool cache = !e.nom.empty() && e.nom.front() == '.';
      if (recursif && !cache)
        chercher_fichiers(sous_repertoire + e.nom + kSeparateurChemin, extension, premier, racine,
                          profondeur + 1, recursif, compte, liste);
      continue;
    }
    if (extension != ".*" && extension_majuscule(e.nom) != extension) continue;
    if (e.nom.find('~') != std::string::npos) continue;
    ++compte;
    if (premier.empty()) premier = e.nom;
    liste.push_back({sous_repertoire, e.nom, e.taille});
  }
}

}  // namespace

int lister_fichiers(const std::string& repertoire, std::string_view masque, bool recursif,
                    std::string& premier_nom, std::vector<FichierTrouve>& liste) {
  const std::string racine = avec_barre_finale(repertoire);
  const std::string extension = extension_du_masque(masque);
  liste.clear();
  premier_nom.clear();
  int compte = 0;
  chercher_fichiers("", extension, premier_nom, racine, 0, recursif, compte, liste);
  return compte;
}

}  // namespace tamso
