// The controls bound to a description setting: each shows its setting and
// hands the user's change to the session, which marks the description
// modified; the window is then brought in line. Shared by the regions and
// panels of the main window.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QStringList>

#include "description/description.h"

class QButtonGroup;
class QCheckBox;
class QDateTimeEdit;
class QLineEdit;
class QObject;
class QTimeEdit;
class QWidget;

namespace tamso {

class ContexteFenetre;
class EtiquetteCliquable;

class ControlesReglages {
 public:
  // `contexte` is the object the controls' connections live with.
  ControlesReglages(ContexteFenetre& fenetre, QObject* contexte);

  QLineEdit* edit(const char* nom, std::string Description::*champ, QWidget* parent,
                  int largeur = 0);
  // An edit box that only shows its setting: its owner handles the typing.
  QLineEdit* edit_affiche(const char* nom, std::string Description::*champ, QWidget* parent,
                          int largeur = 0);
  // `apres` runs once the session has taken the change.
  QCheckBox* case_a_cocher(const char* nom, const QString& texte, bool Description::*champ,
                           QWidget* parent, std::function<void(bool)> apres = {});
  // An option group "RadioGroup_<suffixe>" of buttons "RadioButton<k>_<suffixe>";
  // colonnes 0 puts the caption and the options on one line.
  static QWidget* boite_options(const char* suffixe, const QString& titre,
                                const QStringList& options, int colonnes, QWidget* parent,
                                QButtonGroup*& groupe);
  QWidget* groupe_options(const char* suffixe, const QString& titre, const QStringList& options,
                          MembreParametre champ, int colonnes, QWidget* parent,
                          std::function<void(int)> apres = {});
  QTimeEdit* heure(const char* nom, double Description::*champ, QWidget* parent);
  QDateTimeEdit* date_heure(const char* nom, double Description::*champ, QWidget* parent);
  // The check made on leaving the box or on Enter (entree).
  void valider_en_sortie(QLineEdit* e, std::function<void(const std::string&, bool)> valider);
  // A date label whose double click offers its date for the period.
  EtiquetteCliquable* date_cliquable(const char* nom, QWidget* parent);

  // Another control shown from the session, brought in line with the others.
  void lier(std::function<void()> liaison) { liaisons_.push_back(std::move(liaison)); }
  // Brings every bound control in line with the description.
  void actualiser();

 private:
  ContexteFenetre& fenetre_;
  QObject* contexte_;
  std::vector<std::function<void()>> liaisons_;
};

}  // namespace tamso
