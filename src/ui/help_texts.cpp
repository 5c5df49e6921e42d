#include "ui/help_texts.h"

#include <initializer_list>
#include <map>
#include <vector>

#include "app/session.h"

namespace tamso {

namespace {

struct Element {
  std::vector<const char*> controles;
  LignesAide lignes;
};

// The help items, each with the controls it is shown over.
const std::vector<Element> kElements = {
    {{"SpeedButton_choix_rep_donnee", "Label_repertoire"},
     {"1a- Choisir ou modifier le répertoire des données"}},
    {{"SpeedButton_choix_fic_donnee"},
     {"1b- Choisir un fichier de données pour récupérer le répertoire,",
      "      l'extension et la structure du fichier (ligne des intitulés, séparateur...)"}},
    {{"SpeedButton_presse_papier"},
     {"1c- le contenu du presse-papier contenant des données copiées de Excel par exemple sera "
      "ciblé,"}},
    {{"Label4", "Edit_masque"},
     {"1d- masque pour filtrer les fichiers à traiter ex: CSV, TXT, dat15,    (XLS, XLSX => une "
      "seule cible)"}},
    {{"RadioGroup_numlig_balise", "RadioButton1_numlig_balise", "RadioButton2_numlig_balise"},
     {"1e- comment trouver la 1ère ligne de données,",
      "      par son n° de ligne, ou entre deux balises (textes de début et de fin)"}},
    {{"RadioGroup_DECIMAL_SEPARATOR_entree", "RadioButton1_DECIMAL_SEPARATOR_entree",
      "RadioButton2_DECIMAL_SEPARATOR_entree"},
     {"2-   séparateur décimal de l'ORDINATEUR pour les données à lire en ENTREE "}},
    {{"RadioGroup_separateur_colonne", "RadioButton1_separateur_colonne",
      "RadioButton2_separateur_colonne", "RadioButton3_separateur_colonne",
      "RadioButton4_separateur_colonne"},
     {"3-   séparateur des colonnes pour les données en ENTREE "}},
    {{"Edit_f_station", "Label15"},
     {"4a- à partir du NOM de chaque fichier du tableau, extraction du nom de la STATION pour le "
      "tri de nombreux fichiers, "}},
    {{"Edit_f_date_fichier", "Label16"},
     {"5-   DATE à partir du nom transformé de [ fichier ] du tableau : SERT A RETRIER  , SI "
      "Vide "
      "=> rien  FORMAT ciblé aaaa_mm_jj :"}},
    {{"Edit_num_ligne_intitule_col", "Label14"}, {"6-   n° de la ligne des intitulés de colonnes"}},
    {{"Edit_format_datetime_mesure", "Label34"},
     {"7-   format des date/heures des mesures sur UNE colonne   (Rechercde des paquets aaaa, "
      "mm, "
      "jj, hh, mn , ss )",
      "     2022/03/12 01:15:30 <-> aaaa_mm_jj_hh_mn_ss ,   11/9/2019 0:00 (sans zéros) <-> "
      "mm/jj/aaaa hh:mn",
      "les options 'jj/mm/aaaa OU aaaa/mm/jj'...'multiformat_dt_mini_1èreUE' permettent de "
      "traiter des fichiers avec dates biformatés !",
      "     les secondes peuvent être omises et donc _ss aussi, les ms sont ignorées ; les "
      "caractères non numériques sont non déterminants  _=#= =E=-=T=... ",
      "     19aa_mm_jj : le 19 est rajouté ; aaaammjjhhmn : date compacte ; AM/PM : horloge de "
      "12 h ; l'heure 24 est minuit en fin de journée",
      "     zz : la date finit par son décalage (Z, +02:00), ôté pour donner UTC ; UTC+01:00 à "
      "la fin du format donne les résultats dans ce fuseau"}},
    {{"Edit_format_date_mesure_seule"},
     {"7a-  format des dates de mesures sur DEUX colonnes <Date> = Rechercde des paquets aaaa, "
      "mm, jj",
      "     aaaammjj pour une date compacte (20000101)"}},
    {{"Edit_format_time_mesure_seul"},
     {"7b-   format des heures de mesures sur DEUX colonnes <Heure> = Rechercde des paquets hh, "
      "mn et éventuellement ss)",
      "     hh seul pour une colonne d'heures 1 à 24 (24 = minuit en fin de journée), hhmn "
      "pour 2400",
      "     hh:mn:ss AM/PM pour une horloge de 12 h, hh:mn:sszz UTC pour une heure suivie de "
      "son décalage"}},
    {{"Edit_nom_fic_sortie", "Label12"},
     {"8-   Nom du fichier de sortie sans l'extention qui sera par défaut *.txt",
      "     # est remplacé par la durée du traitement, § par la période ciblée et le nombre de "
      "résultats"}},
    {{"Edit_nb_decimale", "Label18"},
     {"8b-   nombre de décimales pour les valeurs extraites et évetuellement calculées"}},
    {{"Edit_equiv_na", "Label29"},
     {"9-   équivalences successives des valeurs NA séparées par des point-virgules",
      "      V ou v = champ vide      E ou e = un espace      (7 au plus)"}},
    {{"Edit_NA", "Label30"},
     {"10-   valeur à utiliser pour NA", "      V ou v = vide      E ou e = espace", "", "",
      "                            un espace sera représenté par une valeur nulle",
      "                     note:  Excel nécessite #N/A ou un VIDE pour les graphiques "}},
    {{"Edit_intitule_origine", "Label2"},
     {"11-   liste d'origine des colonnes récupérée dans le premier fichier"}},
    {{"Edit_new_desc_colonne", "CheckBox_int_col_alternatif"},
     {"12-  Nouvelle  liste alternative de nom des colonnes",
      "      un double-clic récupère la liste d'origine"}},
    {{"Edit_col_cochee", "CheckBox_col_cochee"},
     {"13-  n° des colonnes de données à extraire en plus de \"Date\" et \"Heure\""}},
    {{"ListBox_date_clean", "SpeedButton_creer_listes_date_clean"},
     {"14-  c'est une liste ne contenant que les dates/heures , ",
      "      du début de la période moins un pas jusqu'à la fin, au pas choisi"}},
    {{"ListBox_DONNEE_date_clean"},
     {"15-  cette liste contenat les dates/heures au début puis au traitement est complétée avec "
      "les valeurs"}},
    {{"Memo1", "Memo6"}, {"16-  ce texte est issu du fichier courant en traitement"}},
    {{"CheckBox_inc_nom"},
     {"17-  le nom de fichier sera incrémenté et non écrasé à chaque enregistrement"}},
    {{"Label_temps_deb", "Label22", "Label67", "SpeedButton_deb", "SpeedButton_fin",
      "Label_temps_fin", "Label23"},
     {"19-  Ces deux dates Debut et Fin (Min et Max) sont récupérables par clik ci-dessus parmi "
      "les 6 dates"}},
    {{"SpeedButton_lister"},
     {"20-  Lister les fichier du répertoire de données ayant la bonne extention avec un TRI "
      "ALPHABETIQUE"}},
    {{"Label69"}, {"21-  décalage de toutes les dates de mesures "}},
    {{"Label24"}, {"21b-  dérive linéaire de toutes les dates de mesures "}},
    {{"CheckBox_correction_si_t1supt2", "CheckBox_correction_si_t1egalt2"},
     {"21a-  décalage de certaines dates de mesures incongrues",
      "   si la ligne de données est antérieure à la précédente => + 1 jour",
      "   et si 2 dates successives sont identiques à la seconde près => + 1 seconde"}},
    {{"Label_date_min", "Label_date_max", "Label_date_heure_min", "Label_date_heure_max",
      "Label_min_dsc", "Label_max_dsc", "Label27", "Label37", "Label38", "Label55", "Label17"},
     {"22-  Un double-clik sur une des 6 dates en bleu permet de la récupérer pour les dates de "
      "début et de fin de la période ciblée"}},
    {{"SpeedButton_periode_dsc"},
     {"22b- reprend d'un coup le début, la fin et le pas de la période de la description",
      "      (la période de sa dernière exécution)"}},
    {{"Label68", "Label66", "CheckBox_post_traitement", "Edit_nmax_lacune"},
     {"23-  Post-traitement des plages de données HORODATÉES manquantes ex:  (sonde en panne sur "
      "un intervalle de temps...)",
      "      les lacunes d'au plus n valeurs sont comblées linéairement"}},
    {{"RadioGroup_methode", "RadioButton1_methode", "RadioButton2_methode", "RadioButton3_methode",
      "RadioButton4_methode", "RadioButton5_methode", "RadioButton6_methode"},
     {"24-  méthode de traitement des n mesures correspondant à chaque date horodatée et "
      "interpolation éventuelle (cas 5) ",
      "   1- moyenne,       2- ponctuel,       3- max,         4- min ", "", "", "   6- cumul ",
      "   5- moy ET si vide = prec+suiv /2 ( pour ne combler que les \"mono-lacune\" ) "}},
    {{"RadioGroup_datetime_nb_col", "RadioButton1_datetime_nb_col", "RadioButton2_datetime_nb_col"},
     {"25-  nombre de colonnes pour la date et l'heure "}},
    {{"Label_description_bd"},
     {"26-  nom proposé avec codage  ",
      "      un double-clic ouvre le fichier de description dans le blocnote"}},
    {{"SpinEdit_decalage_jour", "Label20", "Label3", "RadioButton_decalage_positif",
      "RadioButton_decalage_negatif"},
     {"27-  Cette zone écrite en marron est enregistrée avec la description des données ",
      "      (le nombre de jours n'est pas enregistré)"}},
    {{"SpeedButton_sans_coldate"}, {"28-   sans la colonne date/time  "}},
    {{"SpeedButton_help"}, {"29-      Fichier d'aide et manuel d'utilisation"}},
    {{"CheckBox_car_null"},
     {"30-  les lignes contenant des caractères illisibles seront ignorées mais répertoriées "
      "dans le fichier de suivi "}},
    {{"Edit_name_prog_blocnote", "Label39"},
     {"31-      nom du \"blocnote\" à utiliser ainsi qu'un paramètre éventuel",
      "         notepad.exe = l'éditeur de texte du système"}},
    {{"SpeedButton_traiter_fichier"},
     {"32-     Traitement,  la liste horodatée sera mise à jour automatiquement"}},
    {{"Panel_button_suivi"}, {"34-   affiche ou masque la fenêtre de suivi  "}},
    {{"SpeedButton_stop"}, {"35-   Permet de stopper le traitement en cours "}},
    {{"SpeedButton_enregistrer"},
     {"36-   Enregistre les Données extraites stoppées en cours de traitement "}},
    {{"RadioGroup_avec_sans_intitule", "RadioButton1_avec_sans_intitule",
      "RadioButton2_avec_sans_intitule"},
     {"37-   Indiquer s'il existe une ligne d'intitulés de colonnes "}},
    {{"Label51", "Label52", "Edit_balise_deb", "Edit_balise_fin"},
     {"38-   Indiquer les renseignements concernant les balises "}},
    {{"Label50", "Edit_num_ligne_donnee"},
     {"39-   Indiquer le numéro de la 1ère ligne de données "}},
    {{"CheckBox_recursif"}, {"40-   Si les données sont dans une arborescence de répertoire "}},
    {{"Label53", "Label54"}, {"41-   indique le nombre de fichier dans le répertoire de données"}},
    {{"Label13"}, {"42-   Partie haute de la fenêtre décrivant les renseignements"}},
    {{"SpeedButton_choix_rep_desc", "Label_rep_description"},
     {"43-  Répertoire contenant les descriptions des différentes Bases de Données "}},
    {{"SpeedButton_desc_bd"},
     {"44-  Choix du fichier contenant une description particulière d'une Base de Données "}},
    {{"Label44", "Edit_num_col_datetime"}, {"45-  n° de la colonne Date/Time "}},
    {{"SpeedButton_choix_rep_sortie", "Label_rep_sortie"},
     {"46-  Choix du répertoire d'export des traitements"}},
    {{"SpeedButton_nouveau_dsc", "SpeedButton_Enregistrer_dsc", "SpeedButton_enreg_description"},
     {"47-  Nouvelle description de données,",
      "      enregistrer la description, ou l'enregistrer sous un autre nom"}},
    {{"CheckBox_grand_tableau"},
     {"48-  Basculer entre minimiser ou maximiser le tableau de la liste des fichiers"}},
    {{"Label_nb_fic"},
     {"49-  indique le nombre de fichiers du répertoire ayant la bonne extention"}},
    {{"Label7"}, {"50-  un doubleClick sur le nom d'un fichier permet son ouverture"}},
    {{"CheckBox_aide_flottante"}, {"51-  affiche ou non un seconde fenêtre d'aide flottante"}},
    {{"CheckBox_sans_confirmation"},
     {"52-  efface sans confirmation juste de la liste le/les fichiers ciblés"}},
    {{"RadioGroup_DECIMAL_SEPARATOR_sortie", "RadioButton1_DECIMAL_SEPARATOR_sortie",
      "RadioButton2_DECIMAL_SEPARATOR_sortie"},
     {"53-  format des nombres en sortie, avec un point ou une virgule"}},
    {{"RadioGroup_separateur_sortie", "RadioButton1_separateur_sortie",
      "RadioButton2_separateur_sortie", "RadioButton3_separateur_sortie",
      "RadioButton4_separateur_sortie"},
     {"54-  séparateur des données du fichier de sortie"}},
    {{"Panel_button_liste_colonne"}, {"55-  lister les colonnes demandées en sortie"}},
    {{"Label_col_alternatives"}, {"56-  les intitulés de colonnes demandées en sortie"}},
    {{"RadioGroup_jour_mois_annee", "RadioButton1_jour_mois_annee", "RadioButton2_jour_mois_annee",
      "RadioButton3_jour_mois_annee", "RadioButton4_jour_mois_annee"},
     {"57-  choisir le pas de sortie et compléter les heures"}},
    {{"Label25"}, {"58-  indique le nombre de lignes en sortie représentant un nombre de jour(s)"}},
    {{"RadioGroup_actuel_ou_passee", "RadioButton1_actuel_ou_passee",
      "RadioButton2_actuel_ou_passee"},
     {"59-  test des dates/heures de mesures",
      "       soit la mesure fait partie de l'intervalle actuel,   soit elle clos l'intervalle "
      "précédent ",
      "         par année, ...[(2023) 1 2 3 4 5 6 7 8 9 10 11 12] [(2024)...   => inf strict "
      "(avec décalage d'un an)  ",
      "\t[15  16  17  18  19 ]20    inf strict    ", "\t.15 [16  17  18  19  20]   inf ou égal    ",
      "    ex: par 5s"}},
    {{"SpeedButton_help2"},
     {"62-  aide sous forme de cadres avec dénominations",
      "      les cinq zones de la fenêtre et leurs noms ; une touche ou un second clic les "
      "efface"}},
    {{"SpeedButton_help3"},
     {"62a-  aide sous forme de cadres avec possibilité de travailler avec",
      "      les barres du haut et du bas passent derrière les commandes ; une touche les efface"}},
    {{"SpeedButton_effacer_vers_le_haut"},
     {"63-  effacer de la liste toutes les lignes vers le haut y compris la ligne courante", "", "",
      "", "         ( la dernière colonne (x) permet d'en choisir une seule ou plusieurs"}},
    {{"SpeedButton_effacer_vers_le_bas"},
     {"63-  effacer de la liste toutes les lignes vers le bas y compris la ligne courante", "", "",
      "", "         ( la dernière colonne (x) permet d'en choisir une seule ou plusieurs"}},
    {{"SpeedButton_effacer_ligne_hors_intervalle"},
     {"63-  effacer de la liste les lignes hors intervalle ou période ciblée", "", "", "",
      "         ( la dernière colonne (x) permet d'en choisir une seule ou plusieurs"}},
    {{"SpeedButton_effacer_selection"},
     {"63-  effacer de la liste la lignes courante", "", "", "",
      "         ( la dernière colonne (x) permet d'en choisir une seule ou plusieurs"}},
    {{"SpeedButton6"},
     {"63-  réaffichage complet de la liste en fonction de l'extension des fichiers", "", "", "",
      "         ( la dernière colonne (x) permet d'en choisir une seule ou plusieurs"}},
    {{"Edit_min_na", "Edit_max_na", "Label36", "Label31"},
     {"64- valeurs min et/ou max pour filtrer les mesures de type NA improbables ex: -77777 "
      "etc..."}},
    {{"RichEdit3", "RichEdit4"}, {"65-  résultats ..."}},
    {{"Label_fic"},
     {"66-  nom du premier fichier de la liste qui sert de reconnaissance des intitulés de "
      "colonnes"}},
    {{"SpeedButton_graphique"}, {"67-  affichage des cinq graphiques utilisés"}},
    {{"SpeedButton2"}, {"68-  choix de la couleur du fond "}},
    {{"SpeedButton3"}, {"68-  choix de la couleur des boutons de commandes "}},
    {{"SpeedButton_change_hd"},
     {"69-   permet de visualiser les 3 répertoires de chaque fichier DSC et éventuellement "
      "modifier le lecteur cible"}},
    {{"CheckBox_arret_PC"},
     {"70-  arrêt automatique du PC à la la fin du traitement, avec 5 minutes pour changer "
      "d'avis...  "}},
    {{"CheckBox_prelire_tous"},
     {"71-  Pré-lecture de tous les fichiers si aucun n'est coché, sinon uniquement des "
      "fichiers sélectionnés "}},
    {{"CheckBox_cumul_corriger"},
     {"72-  correction des cumuls réalisés par les capteurs (pas par TAMSO)   _-_-__ => "
      "_---¯¯  "}},
    {{"CheckBox_delta_Y"},
     {"73-  calcul des delta Y = y(i) - y(i-1)  (retro cumul)   _---¯¯ => _-_-__ ,     "}},
    {{"CheckBox_derivees"},
     {"74-  calcule le nombre dérivé  [y(i) - y(i-1)] / pas (retro cumul)  _---¯¯ => _-_-__ , "
      "    "}},
    {{"Label21"}, {"60-  nom du fichier de sortie"}},
    {{"SpeedButton_test_son"},
     {"75-  joue le signal sonore de fin des traitements de plus d'une minute"}},
    {{"SpeedButton_mise_a_jour"},
     {"76-  ouvre la page internet de Tamso pour chercher une nouvelle version"}},
    {{"Label_test_repertoires"},
     {"77-  vérifie l'existence des 3 répertoires de chaque fichier DSC (résumé des DSC)"}},
};

const std::map<std::string, const LignesAide*>& index() {
  static const std::map<std::string, const LignesAide*> m = [] {
    std::map<std::string, const LignesAide*> r;
    for (const auto& e : kElements)
      for (const char* c : e.controles) r.emplace(c, &e.lignes);
    return r;
  }();
  return m;
}

}  // namespace

const LignesAide* aide_du_controle(const std::string& nom) {
  const auto it = index().find(nom);
  return it == index().end() ? nullptr : it->second;
}

int nombre_lignes_aide(const LignesAide& l) {
  int n = 6;
  while (n > 2 && l[static_cast<std::size_t>(n - 1)].empty()) --n;
  return n;
}

std::optional<std::vector<std::string>> aide_calculee(const std::string& nom, const Session& s) {
  if (nom == "SpeedButton_editer_resultats")
    return std::vector<std::string>{"29-  Visualisation  des résultats dans le blocnote favori (" +
                                        s.description.name_prog_blocnote + ")",
                                    "     ",
                                    "",
                                    "",
                                    "",
                                    "     note: Ces résultats sont actuellement déjà copiés "
                                    "automatiquement dans le presse-papier"};
  if (nom == "SpeedButton_fichier_suivi")
    return std::vector<std::string>{"29-  Visualisation du suivi  dans le blocnote favori (" +
                                        s.description.name_prog_blocnote + ")",
                                    ""};
  if (nom == "SpeedButton_exit") {
    std::vector<std::string> l = {"33-     Sortie", "", "", "", "", ""};
    if (s.description_modifiee)
      l[4] = " enregistrement automatique de la description dans " + s.nom_description;
    if (s.periode_modifiee) l[5] = " enregistrement de la nouvelle période et du pas";
    while (l.size() > 2 && l.back().empty()) l.pop_back();
    return l;
  }
  return std::nullopt;
}

namespace {

const std::string kTri =
    "      ====>  un double-clik sur un intitulé de colonne => tri croissant / décroissant";

// The help of each column of the file table, by its title ("fichier" is built
// with the file's name).
const std::map<std::string, std::vector<std::string>>& aide_colonnes() {
  static const std::map<std::string, std::vector<std::string>> m = {
      {"n", {" indice du n° de fichier"}},
      {"Station",
       {" éventuellement extraite du nom du fichier ",
        "   =>  un clik droit permet de cocher/décocher un sous-ensemble en fonction du nom de la "
        "\"Station\""}},
      {"date_NOM_Fichier",
       {" date extraite du nom de fichier et affichée aaaa/mm/jj pour tri temporel ultérieur "}},
      {"taille (Mo)", {" place occupée sur le disque "}},
      {"date dep",
       {" date minimale dans chaque fichier ",
        "un double-click permet de la récupérer comme date de début"}},
      {"date fin",
       {" date maximale dans chaque fichier ",
        "un double-click permet de la récupérer comme date de fin"}},
      {"n.données", {" nombre de données lues dans ce fichier "}},
      {"n.extraites", {" nombre de données untilisées de ce fichier "}},
      {"pas moyen observé", {" pas moyen observé sur les données lues / pas minimum"}},
      {"durée de traitement", {" durée de lecture pour ce fichier "}},
      {"correction",
       {" correction effectuée sur les données ce fichier et le nombre de corrections effectuées ",
        "   si la ligne de données est antérieure à la précédente => + 1 jour",
        "   et si 2 dates successives sont identiques à la seconde près => + 1 seconde"}},
      {"nb Colonnes", {" nombre de colonnes effectives observée dans ce fichier "}},
      {"n°Lig intitulés", {" n° de la Ligne des intitulés de colonne dans ce fichier "}},
      {"x",
       {"                       double-clik pour marquer(x) ou démarquer( )      clik droit pour "
        "traiter un ensemble",
        "                           => si aucune croix alors tous les fichiers seront traités",
        "                           => si une ou plusieurs croix alors ne seront traités que les "
        "les marqués (x)"}},
  };
  return m;
}

}  // namespace

std::vector<std::string> aide_tableau(int ligne, const std::string& titre,
                                      const std::string& cellule) {
  if (ligne == 0) return {kTri, ""};
  std::vector<std::string> l;
  if (titre == "fichier") {
    l = {"       un double-clik pour éditer le fichier", "     " + cellule, kTri};
  } else if (const auto it = aide_colonnes().find(titre); it != aide_colonnes().end()) {
    l = it->second;
  } else {
    l = {"                          liste de fichiers",
         "  - Pour sélectionner entre la ligne courante et la fin de la sélection, rester appuyé "
         "sur Majuscule",
         "    et déplacer-vous avec l'ascenseur",
         "  - La dernière colonne permet de marquer individuellement le(s) fichier(s) à traiter "};
  }
  if (l.size() < 2) l.emplace_back();
  return l;
}

}  // namespace tamso
