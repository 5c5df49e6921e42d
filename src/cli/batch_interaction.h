// The batch program's interaction port: it never blocks and never reads
// standard input. Each question gets the answer that goes on without changing
// the description and without destroying a file; the question and the answer
// taken are written to standard error and to the tracking log.
#pragma once

#include <iosfwd>

#include "core/interaction.h"

namespace tamso {

class JournalSuivi;

class InteractionLot : public Interaction {
 public:
  InteractionLot(std::ostream& erreurs, JournalSuivi* journal = nullptr)
      : erreurs_(erreurs), journal_(journal) {}
  void fixer_journal(JournalSuivi* journal) { journal_ = journal; }

  // The answer taken for a button set.
  static Reponse reponse_par_defaut(Boutons boutons);

  Reponse demander(TypeMessage type, const std::string& texte, Boutons boutons) override;
  void progression(const std::string&, int) override {}
  bool arret_demande() override { return false; }
  std::optional<std::string> choisir_fichier_a_ouvrir(const DialogueFichier& d) override;
  std::optional<std::string> choisir_fichier_a_enregistrer(const DialogueFichier& d) override;
  void ouvrir_choix_repertoire(Repertoire) override {}
  void ouvrir_dans_editeur(const std::string&, const std::string&) override {}
  std::string texte_presse_papier() override { return {}; }
  void copier_dans_presse_papier(const std::string&) override {}

 private:
  std::ostream& erreurs_;
  JournalSuivi* journal_;
};

}  // namespace tamso
