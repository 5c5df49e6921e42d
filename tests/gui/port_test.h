// A test port for the main window: the script's answers, file choices and
// clipboard (support/scripted_answers.h), colours from a queue, no program
// ever started nor document or web page opened, no tone played, the
// computer never switched off.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <QImage>

#include "support/scripted_answers.h"
#include "ui/qt_interaction.h"

namespace tamso::test {

class PortTest : public PortScripte<InteractionQt> {
 public:
  std::deque<std::optional<QColor>> couleurs;
  std::vector<CommandeExterne> programmes;
  std::vector<std::string> documents;
  bool eteint = false;
  QImage image_copiee;
  // Tones asked for and web pages to open: recorded, never played nor opened.
  std::vector<std::vector<Tonalite>> tonalites;
  std::vector<std::string> pages_web;

  bool demarrer_programme(const CommandeExterne& c) override {
    programmes.push_back(c);
    return true;
  }
  bool ouvrir_document(const std::string& chemin) override {
    documents.push_back(chemin);
    return true;
  }
  std::optional<QColor> choisir_couleur(const QColor&, const QString&,
                                        const std::vector<QColor>&) override {
    if (couleurs.empty()) return std::nullopt;
    auto c = couleurs.front();
    couleurs.pop_front();
    return c;
  }
  void eteindre_ordinateur() override { eteint = true; }
  void jouer_tonalites(const std::vector<Tonalite>& t) override { tonalites.push_back(t); }
  void ouvrir_page_web(const std::string& adresse) override { pages_web.push_back(adresse); }
  void copier_image(const QImage& image) override { image_copiee = image; }
};

}  // namespace tamso::test
