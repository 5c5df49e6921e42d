// The records of a finished run as the results and the tracking file read
// them: never the session itself, so that the results layer asks nothing and
// opens nothing.
#pragma once

#include <string>

namespace tamso {

class GrilleResultats;
class TableFichiers;
struct Description;
struct EtatLecteurDates;
struct EtatResultats;
struct EtatTraitement;
struct ListeHorodatee;
struct Periode;

struct VueTraitement {
  const Description& description;
  const Periode& periode;
  const ListeHorodatee& liste_horodatee;
  const GrilleResultats& grille;
  const EtatTraitement& etat_traitement;
  const EtatResultats& resultats;
  const TableFichiers& table;
  const EtatLecteurDates& lecteur_dates;
  const std::string& nom_description;  // the description's file name
  char separateur_decimal;             // the computer's
};

}  // namespace tamso
