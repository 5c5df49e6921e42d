#include "description/data_source.h"

#include "description/description.h"
#include "input/file_table.h"
#include "input/text.h"

namespace tamso {

SourceDonnees source_du_masque(std::string_view masque) {
  const std::string m = majuscules(masque);
  if (contient(m, "XLS")) return SourceDonnees::excel;
  if (contient(m, "PPP")) return SourceDonnees::presse_papier;
  return SourceDonnees::repertoire;
}

ReglesChargement regles_chargement(const Description& d, SourceDonnees source,
                                   const std::string& repertoire_programme,
                                   std::size_t taille_bloc) {
  ReglesChargement r;
  r.tabulation = d.separateur_colonne == SeparateurColonne::tabulation;
  r.car_null = d.car_null;
  r.num_ligne_donnee = d.num_ligne_donnee;
  r.presse_papier = source == SourceDonnees::presse_papier;
  r.fichier_presse_papier = repertoire_programme + kFichierPressePapier;
  r.reutilisable = source == SourceDonnees::repertoire;
  r.convertir = source == SourceDonnees::repertoire;
  r.repertoire_temporaire = repertoire_programme;
  r.masque_ppp = d.masque == "ppp";
  r.taille_bloc = taille_bloc;
  return r;
}

std::string chemin_fichier_ligne(const TableFichiers& t, int ligne, SourceDonnees source,
                                 const std::string& dossier_donnees,
                                 const std::string& repertoire_programme) {
  switch (source) {
    case SourceDonnees::excel:
      return repertoire_programme + kFichierTemporaireExcel;
    case SourceDonnees::presse_papier:
      return repertoire_programme + kFichierPressePapier;
    case SourceDonnees::repertoire:
      break;
  }
  return dossier_donnees + trim(t.cellule(2, ligne)) +
         t.cellule(TableFichiers::kColonneFichier, ligne);
}

}  // namespace tamso
