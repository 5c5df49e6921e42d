// The desktop program's interaction port: message boxes with French buttons,
// the platform's file dialogs, the clipboard, the text editor started with an
// argument list; progress, stop requests and the directory chooser go to the
// main window.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QColor>

#include "app/external_programs.h"
#include "base/interaction.h"

class QImage;
class QWidget;

namespace tamso {

class FenetrePrincipale;
class JoueurTonalites;

class InteractionQt : public Interaction {
 public:
  InteractionQt();
  ~InteractionQt() override;
  void attacher(FenetrePrincipale* fenetre) { fenetre_ = fenetre; }

  Reponse demander(TypeMessage type, const std::string& texte, Boutons boutons) override;
  void progression(const std::string& texte, int phase) override;
  bool arret_demande() override;
  std::optional<std::string> choisir_fichier_a_ouvrir(const DialogueFichier& d) override;
  std::optional<std::string> choisir_fichier_a_enregistrer(const DialogueFichier& d) override;
  void ouvrir_choix_repertoire(Repertoire quel) override;
  void ouvrir_dans_editeur(const std::string& dossier, const std::string& fichier) override;
  std::string texte_presse_papier() override;
  void copier_dans_presse_papier(const std::string& texte) override;
  // The tones play while the window goes on.
  void jouer_tonalites(const std::vector<Tonalite>& tonalites) override;
  void ouvrir_page_web(const std::string& adresse) override;
  void afficher_bandeau(const std::string& texte) override;
  void montrer_etiquettes() override;

  // Starts an external program; false when it could not be started.
  virtual bool demarrer_programme(const CommandeExterne& c);
  // Opens a file with the desktop's viewer for its kind; false when none could.
  virtual bool ouvrir_document(const std::string& chemin);
  // The platform's colour dialog, with its sixteen custom colours.
  virtual std::optional<QColor> choisir_couleur(const QColor& initiale, const QString& titre,
                                                const std::vector<QColor>& personnalisees);
  // A picture (a chart) on the clipboard.
  virtual void copier_image(const QImage& image);
  // Switches the computer off (the countdown has run out).
  virtual void eteindre_ordinateur();

  // The platform's text editor, for the setting "notepad.exe".
  static CommandeExterne editeur_du_systeme(const std::string& chemin);
  // "Fichiers descriptifs (*.dsc)|*.dsc|..." as a Qt filter, patterns in both cases.
  static QString filtre_qt(const std::string& filtre);

 protected:
  QWidget* parent_dialogues() const;
  FenetrePrincipale* fenetre_ = nullptr;
  std::unique_ptr<JoueurTonalites> joueur_;
};

}  // namespace tamso
