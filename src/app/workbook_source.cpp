#include "app/workbook_source.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "app/session.h"
#include "input/files.h"
#include "input/loader.h"
#include "input/text.h"
#include "input/workbook.h"

namespace tamso {

namespace {

// What a sheet is converted from; empty when the workbook cannot be read.
std::string cle_feuille(const std::string& classeur, std::string_view numero) {
  std::error_code ec;
  const auto taille = std::filesystem::file_size(classeur, ec);
  if (ec) return {};
  const auto date = std::filesystem::last_write_time(classeur, ec);
  if (ec) return {};
  return classeur + '\n' + std::to_string(taille) + '\n' +
         std::to_string(date.time_since_epoch().count()) + '\n' + std::string(trim_vue(numero));
}

std::string classeur_de_la_description(const Session& s) {
  return s.description.dossier_choisi + s.description.nom_fic_excel;
}

}  // namespace

bool feuille_convertie_a_jour(const Session& s) {
  const std::string cle =
      cle_feuille(classeur_de_la_description(s), s.description.num_feuille_excel);
  return !cle.empty() && cle == s.cle_feuille_convertie &&
         fichier_existe(s.repertoire_temporaire() + kFichierTemporaireExcel);
}

bool actualiser_feuille_excel(Session& s) {
  return feuille_convertie_a_jour(s) || lire_feuille_excel(s, classeur_de_la_description(s));
}

bool lire_feuille_excel(Session& s, const std::string& classeur) {
  using Chrono = std::chrono::steady_clock;
  const auto secondes_depuis = [](Chrono::time_point t) {
    return std::chrono::duration<double>(Chrono::now() - t).count();
  };
  s.arret = false;
  s.cle_feuille_convertie.clear();
  const std::string destination = s.repertoire_temporaire() + kFichierTemporaireExcel;
  const auto t0 = Chrono::now();
  s.etiquette("Label6") = "durée 00:00:00";
  s.etiquette("Label10") = " patienter, lecture Excel...";
  s.fichier_charge = FichierCharge{};
  s.apercu.clear();

  const auto numero = numero_feuille_excel(s.description.num_feuille_excel);
  if (!numero) {
    supprimer_fichier(destination);
    s.port().informer(TypeMessage::erreur,
                      "le n° de feuille <" + s.description.num_feuille_excel +
                          "> n'est pas un nombre entier\n\n classeur : " + classeur);
    return false;
  }
  const ResultatConversion r = convertir_feuille_classeur(classeur, *numero, destination);
  s.etiquette("Label10") = "durée " + secondes_en_hms(secondes_depuis(t0));
  if (r.feuille_vide) {
    s.port().informer(TypeMessage::avertissement, " problème, memo1 vide!!!");
    return false;
  }
  if (r.erreur) {
    const std::string message = message_echec_classeur(r, classeur, *numero);
    s.port().informer(TypeMessage::erreur, message);
    std::string ligne = message;
    for (char& c : ligne)
      if (c == '\n') c = ' ';
    s.ajouter_ligne_suivi(ligne);
    return false;
  }
  s.description.nom_feuille = r.nom_feuille;
  s.cle_feuille_convertie = cle_feuille(classeur, s.description.num_feuille_excel);
  s.fichier_charge = lire_fichier_charge(destination, NettoyageLignes{});
  const std::string total = "durée " + secondes_en_hms(secondes_depuis(t0));
  s.etiquette("Label10") = total;
  s.etiquette("Label6") = total;
  return true;
}

}  // namespace tamso
