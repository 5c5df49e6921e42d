#include <fstream>
#include <iostream>
#include <string>
#include "base/tracking_log.h"
#include "input/date_format.h"
using namespace tamso;
int main(int, char** argv) {
  std::ifstream in(argv[1]);
  std::ofstream out(argv[2]);
  std::string ligne, courant = "\x01";
  EtatLecteurDates etat;
  JournalSuivi journal;
  while (std::getline(in, ligne)) {
    const auto tab = ligne.find('\t');
    const std::string format = ligne.substr(0, tab), texte = ligne.substr(tab + 1);
    if (format != courant) {
      courant = format;
      etat = EtatLecteurDates{};
      etat.horloge = [] { return 44632.5; };
      preparer_lecteur_dates_listage(etat);
      journal.vider();
    }
    const std::size_t avant = journal.taille();
    const std::string r = normaliser_date_mesure(texte, format, etat, journal);
    // Lines " + erreur date"; the notices of swapped dates are not counted.
    int erreurs = 0;
    for (std::size_t k = avant; k < journal.taille(); ++k)
      erreurs += journal.lignes()[k].rfind(" + erreur date", 0) == 0;
    out << format << '\t' << texte << '\t' << r << '\t' << erreurs << '\t'
        << etat.nb_dates_inversees << '\n';
  }
}
