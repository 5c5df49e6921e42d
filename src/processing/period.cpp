#include "processing/period.h"

#include <map>

#include "core/session.h"
#include "description/program_files.h"
#include "input/dates.h"
#include "input/files.h"
#include "input/text.h"

namespace tamso {

bool ecrire_periode(Session& s) {
  const Periode& p = s.periode;
  const std::map<int, std::string> lignes = {
      {1, p.debut},
      {2, p.fin},
      {3, heure_en_texte(p.pas)},
      {4, p.resume_lignes},
      {5, std::to_string(p.nb_pas)},
      {6, std::to_string(p.test_date)},
      {7, std::to_string(p.unite)},
  };
  const std::string chemin = s.chemin_periode();
  if (!signaler_si_echec(s, ecrire_lignes_numerotees(chemin, lignes), chemin)) return false;
  s.periode_modifiee = false;
  return true;
}

bool lire_periode(Session& s) {
  const auto lignes = lire_lignes_texte(s.chemin_periode()).value_or(std::vector<std::string>{});
  const auto ligne = [&lignes](std::size_t k) {
    return k <= lignes.size() ? lignes[k - 1] : std::string{};
  };
  Periode& p = s.periode;
  if (const std::string l = ligne(1); !l.empty()) p.debut = l;
  if (const std::string l = ligne(2); !l.empty()) p.fin = l;
  if (const std::string l = ligne(3); !l.empty()) {
    const double v = texte_en_date(l, nullptr, s.journal);
    p.pas = v - static_cast<double>(static_cast<long long>(v));
  }
  if (const std::string l = ligne(4); !l.empty()) p.resume_lignes = l;
  int* cibles[] = {&p.nb_pas, &p.test_date, &p.unite};
  for (std::size_t k = 5; k <= 7; ++k) {
    const std::string l = ligne(k);
    if (l.empty()) continue;
    const auto n = lire_entier(l);
    if (!n) {
      s.port().informer(TypeMessage::erreur, "'" + l + "' n'est pas une valeur entière correcte");
      return false;
    }
    *cibles[k - 5] = static_cast<int>(*n);
  }
  return true;
}

}  // namespace tamso
