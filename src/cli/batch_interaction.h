// The batch program's interaction port: it never blocks and never reads
// standard input. Each question gets one stated answer; the question and the
// answer taken are written to standard error and to the tracking log.
#pragma once

#include <csignal>
#include <iosfwd>
#include <string>
#include <vector>

#include "base/interaction.h"

namespace tamso {

class JournalSuivi;

// How questions are answered.
enum class PolitiqueLot {
  // The answer that goes on without changing the description and without
  // destroying a file: continue, keep, do not overwrite.
  poursuivre,
  // Every proposed correction accepted ("Oui" whenever it is offered).
  accepter,
};

class InteractionLot : public Interaction {
 public:
  explicit InteractionLot(std::ostream& erreurs, PolitiqueLot politique = PolitiqueLot::poursuivre,
                          JournalSuivi* journal = nullptr)
      : erreurs_(erreurs), politique_(politique), journal_(journal) {}
  void fixer_journal(JournalSuivi* journal) { journal_ = journal; }

  // The answer taken for a button set when the question says nothing more.
  static Reponse reponse_par_defaut(Boutons boutons);

  Reponse demander(TypeMessage type, const std::string& texte, Boutons boutons) override;
  Reponse demander_poursuite(TypeMessage type, const std::string& texte, Boutons boutons,
                             Reponse poursuite) override;
  void progression(const std::string&, int) override {}
  // A stop request comes from outside the program (an interrupt or
  // termination signal sets the flag).
  void fixer_arret(const volatile std::sig_atomic_t* drapeau) { arret_ = drapeau; }
  bool arret_demande() override { return arret_ != nullptr && *arret_ != 0; }
  std::optional<std::string> choisir_fichier_a_ouvrir(const DialogueFichier& d) override;
  std::optional<std::string> choisir_fichier_a_enregistrer(const DialogueFichier& d) override;
  void ouvrir_choix_repertoire(Repertoire) override {}
  void ouvrir_dans_editeur(const std::string&, const std::string&) override {}
  // The clipboard of a batch run is a file given on the command line.
  void fixer_presse_papier(std::string texte) { presse_papier_ = std::move(texte); }
  std::string texte_presse_papier() override { return presse_papier_; }
  void copier_dans_presse_papier(const std::string&) override {}
  bool a_un_presse_papier() const override { return false; }

  // What the run was asked and told, in order, for its summary: each
  // question with the answer taken, and the messages shown with OK alone.
  struct QuestionPosee {
    std::string question, reponse;
  };
  const std::vector<QuestionPosee>& questions() const { return questions_; }
  const std::vector<std::string>& messages() const { return messages_; }

 private:
  Reponse repondre(const std::string& texte, Boutons boutons, Reponse reponse);

  std::ostream& erreurs_;
  PolitiqueLot politique_;
  JournalSuivi* journal_;
  std::string presse_papier_;
  std::vector<QuestionPosee> questions_;
  std::vector<std::string> messages_;
  const volatile std::sig_atomic_t* arret_ = nullptr;
};

}  // namespace tamso
