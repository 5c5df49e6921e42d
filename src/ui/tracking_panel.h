// The tracking-log panel: the log of the session over the file table, small
// (135 pixels high) or tall (the whole table), movable with the mouse.
#pragma once

#include <cstddef>
#include <functional>

#include "ui/widgets.h"

class QPlainTextEdit;
class QRadioButton;

namespace tamso {

class ContexteFenetre;

class PanneauSuivi : public PanneauFlottant {
  Q_OBJECT
 public:
  PanneauSuivi(ContexteFenetre& fenetre, QWidget* parent);

  // The widget the panel lies over (the file table and the room under it),
  // and how to keep room for the small panel under the table while it is
  // shown (0: none), so that it hides no row.
  void fixer_repere(QWidget* repere, std::function<void(int)> reserver = {}) {
    repere_ = repere;
    reserver_ = std::move(reserver);
  }
  bool grand() const;
  // Places the panel over the table, small or tall.
  void placer(bool grand);
  // Places it again at its chosen size.
  void replacer() { placer(grand()); }
  // Chooses the size; a visible panel is placed again.
  void choisir_taille(bool grand);
  // "fenêtre de suivi": shows or hides the panel.
  void basculer();
  void montrer();
  // Appends the log lines not shown yet.
  void afficher_journal();

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void reserver();

  ContexteFenetre& fenetre_;
  std::function<void(int)> reserver_;
  QWidget* repere_ = nullptr;
  QPlainTextEdit* journal_ = nullptr;
  QRadioButton* petit_ = nullptr;
  QRadioButton* grand_ = nullptr;
  std::size_t lignes_affichees_ = 0;
};

}  // namespace tamso
