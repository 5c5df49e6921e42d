// Region 4 of the main window, "4- Période ciblée": the start, end and step
// of the period, the step unit and the date test, the line-count summary,
// the period kept in the description, and the timestamp list (stage 2).
#pragma once

#include <QGroupBox>

class QButtonGroup;
class QDateEdit;
class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimeEdit;
class QVBoxLayout;

namespace tamso {

class ContexteFenetre;

class RegionPeriode : public QGroupBox {
  Q_OBJECT
 public:
  RegionPeriode(ContexteFenetre& fenetre, QWidget* parent);

  // ---- bringing the controls in line ----
  void afficher_periode();
  // The period kept in the description (its clickable dates).
  void afficher_periode_description();

 private:
  QGridLayout* construire_pickers();
  void connecter_pickers();
  void construire_options(QVBoxLayout* vb);
  void construire_liste(QVBoxLayout* vb);
  void sur_unite_pas(int unite);
  void sur_test_date(int test);

  ContexteFenetre& fenetre_;
  QDateEdit* date_deb_ = nullptr;
  QTimeEdit* heure_deb_ = nullptr;
  QDateEdit* date_fin_ = nullptr;
  QTimeEdit* heure_fin_ = nullptr;
  QTimeEdit* heure_pas_ = nullptr;
  QSpinBox* nb_pas_ = nullptr;
  QLabel* unite_pas_ = nullptr;
  QPushButton* zero_deb_ = nullptr;
  QPushButton* zero_fin_ = nullptr;
  QPushButton* zero_pas_ = nullptr;
  QLabel* temps_deb_ = nullptr;
  QLabel* temps_fin_ = nullptr;
  QLabel* jour_deb_ = nullptr;
  QLabel* jour_fin_ = nullptr;
  QLabel* resume_ = nullptr;
  QLabel* nr_final_ = nullptr;
  QLabel* dates_dsc_[3] = {};
  QButtonGroup* groupe_unite_ = nullptr;
  QButtonGroup* groupe_test_ = nullptr;
  QPushButton* bouton_liste_ = nullptr;
};

}  // namespace tamso
