// The context help: the numbered item of the control under the mouse
// pointer, shown in the fixed help box of the window and, when "aide
// flottante" is checked, in a floating box beside the pointer.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace tamso {

class Session;

class AideContextuelle {
 public:
  // `boite` is the fixed help box (Memo2); the floating box (Memo3) is made
  // over `racine` and a double click on it calls `double_clic`. The search
  // for a control's item stops at `fenetre`, and the window's background
  // (`contenu`) empties the help.
  AideContextuelle(const Session& s, QWidget* fenetre, QWidget* racine, QWidget* contenu,
                   QPlainTextEdit* boite, std::function<void()> double_clic);

  // The item of the control, or of its nearest parent that has one.
  void pour_controle(QWidget* w);
  void montrer(const std::vector<std::string>& lignes);
  void cacher_flottante();

 private:
  void montrer_flottante(const std::vector<std::string>& lignes);
  // Where the floating box of `h` pixels goes: beside the pointer, or level
  // with the period of the description for the item of the period's bounds.
  int haut_flottante(const std::vector<std::string>& lignes, int pointeur, int h) const;

  const Session& session_;
  QWidget* fenetre_;
  QWidget* racine_;
  QWidget* contenu_;
  QPlainTextEdit* boite_;
  QLabel* flottante_;
};

}  // namespace tamso
