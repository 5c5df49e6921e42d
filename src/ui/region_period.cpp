#include "ui/region_period.h"

#include <algorithm>
#include <initializer_list>

#include <QButtonGroup>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/period_commands.h"
#include "app/session.h"
#include "app/timestamp_commands.h"
#include "app/window_changes.h"
#include "processing/period.h"
#include "processing/timestamp_list.h"
#include "ui/setting_controls.h"
#include "ui/widgets.h"
#include "ui/window_context.h"

namespace tamso {

namespace {

void texte_si_change(QLabel* l, const QString& t) {
  if (l->text() != t) l->setText(t);
}

}  // namespace

RegionPeriode::RegionPeriode(ContexteFenetre& fenetre, QWidget* parent)
    : QGroupBox(QStringLiteral("4- Période ciblée"), parent), fenetre_(fenetre) {
  setObjectName(QStringLiteral("Cadre4"));
  auto* vb = new QVBoxLayout(this);
  vb->setContentsMargins(8, 6, 8, 6);
  vb->setSpacing(3);
  vb->addLayout(construire_pickers());
  connecter_pickers();
  construire_options(vb);
  construire_liste(vb);
  vb->addStretch(1);
}

QGridLayout* RegionPeriode::construire_pickers() {
  auto* g = new QGridLayout;
  g->setHorizontalSpacing(4);
  g->setVerticalSpacing(2);
  const auto zero = [this](const char* nom) {
    auto* b = bouton(QString::fromLatin1(nom), QStringLiteral("O"), this);
    b->setFixedWidth(26);
    b->setToolTip(QStringLiteral("mettre l'heure à 00:00:00"));
    return b;
  };
  const auto picker_date = [this](const char* nom) {
    auto* d = new QDateEdit(this);
    d->setObjectName(QString::fromLatin1(nom));
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d->setCalendarPopup(true);
    d->setMinimumDate(QDate(1900, 1, 1));
    return d;
  };
  const auto picker_heure = [this](const char* nom) {
    auto* t = new QTimeEdit(this);
    t->setObjectName(QString::fromLatin1(nom));
    t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return t;
  };
  date_deb_ = picker_date("DatePicker_deb");
  heure_deb_ = picker_heure("TimePicker_deb");
  date_fin_ = picker_date("DatePicker_fin");
  heure_fin_ = picker_heure("TimePicker_fin");
  heure_pas_ = picker_heure("TimePicker_pas");
  zero_deb_ = zero("SpeedButton_deb");
  zero_fin_ = zero("SpeedButton_fin");
  zero_pas_ = zero("SpeedButton_pas");
  g->addWidget(etiquette("Label22", QStringLiteral("début"), this), 0, 0);
  g->addWidget(date_deb_, 0, 1);
  g->addWidget(heure_deb_, 0, 2);
  g->addWidget(zero_deb_, 0, 3);
  temps_deb_ = etiquette("Label_temps_deb", QString(), this);
  jour_deb_ = etiquette("Label_jour_semaine_deb", QString(), this);
  g->addWidget(temps_deb_, 1, 1, 1, 2);
  g->addWidget(jour_deb_, 1, 3);
  g->addWidget(etiquette("Label23", QStringLiteral("fin"), this), 2, 0);
  g->addWidget(date_fin_, 2, 1);
  g->addWidget(heure_fin_, 2, 2);
  g->addWidget(zero_fin_, 2, 3);
  temps_fin_ = etiquette("Label_temps_fin", QString(), this);
  g->addWidget(temps_fin_, 3, 1, 1, 2);
  jour_fin_ = etiquette("Label_jour_semaine_fin", QString(), this);
  g->addWidget(jour_fin_, 3, 3);
  // As wide as the longest day name from the start: the region keeps its
  // width whatever day the period starts or ends on.
  int jour_max = 0;
  for (int jour = 0; jour < 7; ++jour)
    jour_max =
        std::max(jour_max, jour_deb_->fontMetrics().horizontalAdvance(qs(nom_jour_semaine(jour))));
  jour_deb_->setMinimumWidth(jour_max + 2);
  jour_fin_->setMinimumWidth(jour_max + 2);
  g->addWidget(etiquette("Label67", QStringLiteral("pas"), this), 4, 0);
  g->addWidget(heure_pas_, 4, 1);
  nb_pas_ = new QSpinBox(this);
  nb_pas_->setObjectName(QStringLiteral("SpinEdit_pas_jour_mois_annee"));
  nb_pas_->setRange(kNbPasMin, kNbPasMax);
  unite_pas_ = etiquette("Label_unite_pas", QString(), this);
  auto* pas_nb = new QWidget(this);
  auto* hpn = rangee(pas_nb);
  hpn->addWidget(nb_pas_);
  hpn->addWidget(unite_pas_);
  g->addWidget(pas_nb, 4, 2);
  g->addWidget(zero_pas_, 4, 3);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(2, 1);
  return g;
}

void RegionPeriode::connecter_pickers() {
  // Each change goes to the session, which keeps the period's rules; the
  // pickers are then shown again.
  const auto changement_deb = [this] {
    changer_debut(fenetre_.session(),
                  valeur_date_heure(QDateTime(date_deb_->date(), heure_deb_->time())));
    afficher_periode();
  };
  const auto changement_fin = [this] {
    changer_fin(fenetre_.session(),
                valeur_date_heure(QDateTime(date_fin_->date(), heure_fin_->time())));
    afficher_periode();
  };
  connect(date_deb_, &QDateEdit::dateChanged, this, changement_deb);
  connect(heure_deb_, &QTimeEdit::timeChanged, this, changement_deb);
  connect(date_fin_, &QDateEdit::dateChanged, this, changement_fin);
  connect(heure_fin_, &QTimeEdit::timeChanged, this, changement_fin);
  connect(heure_pas_, &QTimeEdit::timeChanged, this, [this](const QTime& t) {
    changer_pas(fenetre_.session(), valeur_heure(t));
    afficher_periode();
  });
  connect(nb_pas_, &QSpinBox::valueChanged, this, [this](int n) {
    changer_nb_pas(fenetre_.session(), n);
    afficher_periode();
  });
  connect(zero_deb_, &QPushButton::clicked, this, [this] {
    mettre_heure_debut_a_zero(fenetre_.session());
    afficher_periode();
  });
  connect(zero_fin_, &QPushButton::clicked, this, [this] {
    mettre_heure_fin_a_zero(fenetre_.session());
    afficher_periode();
  });
  connect(zero_pas_, &QPushButton::clicked, this, [this] {
    mettre_pas_a_zero(fenetre_.session());
    afficher_periode();
  });
}

void RegionPeriode::construire_options(QVBoxLayout* vb) {
  vb->addWidget(
      ControlesReglages::boite_options("jour_mois_annee", QStringLiteral("unité du pas"),
                                       {QStringLiteral("hh:mn:ss"), QStringLiteral("jour"),
                                        QStringLiteral("mois"), QStringLiteral("année")},
                                       2, this, groupe_unite_));
  vb->addWidget(ControlesReglages::boite_options(
      "actuel_ou_passee", QStringLiteral("test"),
      {QStringLiteral("(inf ou =)"), QStringLiteral("(inf strict)")}, 0, this, groupe_test_));
  connect(groupe_unite_, &QButtonGroup::idClicked, this, &RegionPeriode::sur_unite_pas);
  connect(groupe_test_, &QButtonGroup::idClicked, this, &RegionPeriode::sur_test_date);
}

void RegionPeriode::construire_liste(QVBoxLayout* vb) {
  resume_ = etiquette("Label25", QString(), this);
  QFont gras = resume_->font();
  gras.setBold(true);
  resume_->setFont(gras);
  vb->addWidget(resume_);

  ControlesReglages& controles = fenetre_.controles();
  auto* dsc = new QGroupBox(QStringLiteral("période de la description"), this);
  dsc->setObjectName(QStringLiteral("Label37"));
  auto* gd = grille(dsc);
  gd->setContentsMargins(6, 2, 6, 4);
  const char* noms[] = {"Label_min_dsc", "Label_max_dsc", "Label_pas_dsc"};
  const QString titres[] = {QStringLiteral("min"), QStringLiteral("max"), QStringLiteral("pas")};
  for (int i = 0; i < 3; ++i) {
    gd->addWidget(texte(titres[i], dsc), i, 0);
    dates_dsc_[i] = controles.date_cliquable(noms[i], dsc);
    if (i < 2) gd->addWidget(dates_dsc_[i], i, 1);
  }
  // The three at once, without a question.
  auto* prendre =
      bouton(QStringLiteral("SpeedButton_periode_dsc"), QStringLiteral("<= reprendre"), dsc);
  prendre->setToolTip(QStringLiteral("reprendre d'un coup le début, la fin et le pas"));
  connect(prendre, &QPushButton::clicked, this, [this] {
    prendre_periode_dsc(fenetre_.session());
    fenetre_.afficher_periode();
    fenetre_.rafraichir_indicateur();
  });
  // Beside the step, so that the box is no taller.
  dates_dsc_[2]->setMinimumWidth(0);
  auto* ligne_pas = new QHBoxLayout;
  ligne_pas->setContentsMargins(0, 0, 0, 0);
  ligne_pas->addWidget(dates_dsc_[2], 1);
  ligne_pas->addWidget(prendre);
  gd->addLayout(ligne_pas, 2, 1);
  gd->setColumnStretch(1, 1);
  vb->addWidget(dsc);

  bouton_liste_ = bouton(QStringLiteral("SpeedButton_creer_listes_date_clean"),
                         QStringLiteral("<=  2-  créer la liste horodatée"), this);
  bouton_liste_->setFont(gras);
  connect(bouton_liste_, &QPushButton::clicked, this, [this] {
    Session& s = fenetre_.session();
    s.demarrer_phase(2);
    fenetre_.etape(bouton_liste_, [&s = s] { creer_liste_horodatee(s); });
  });
  vb->addWidget(bouton_liste_);
  auto* nr = rangee();
  nr->addWidget(texte(QStringLiteral("lignes de résultats :"), this));
  nr_final_ = etiquette("Label_nr_final", QString(), this);
  nr->addWidget(nr_final_, 1);
  vb->addLayout(nr);
}

// ---------------------------------------------------------------- reactions

void RegionPeriode::sur_unite_pas(int unite) {
  changer_unite(fenetre_.session(), unite);
  afficher_periode();
}

void RegionPeriode::sur_test_date(int test) {
  choisir_test_date(fenetre_.session(), test);
  fenetre_.afficher_resultats();
  afficher_periode();
  fenetre_.afficher_liste_horodatee();
}

// ---------------------------------------------------------------- bringing the controls in line

void RegionPeriode::afficher_periode() {
  const Session& s = fenetre_.session();
  const Periode& p = s.periode;
  const QDateTime debut = date_heure_qt(valeur_debut(p));
  const QDateTime fin = date_heure_qt(valeur_fin(p));
  const auto pickers = {static_cast<QWidget*>(date_deb_),  static_cast<QWidget*>(heure_deb_),
                        static_cast<QWidget*>(date_fin_),  static_cast<QWidget*>(heure_fin_),
                        static_cast<QWidget*>(heure_pas_), static_cast<QWidget*>(nb_pas_)};
  for (QWidget* w : pickers) w->blockSignals(true);
  date_deb_->setDate(debut.date());
  heure_deb_->setTime(debut.time());
  date_fin_->setDate(fin.date());
  heure_fin_->setTime(fin.time());
  heure_pas_->setTime(heure_qt(p.pas));
  nb_pas_->setValue(p.nb_pas);
  for (QWidget* w : pickers) w->blockSignals(false);
  if (QAbstractButton* b = groupe_unite_->button(static_cast<int>(p.unite))) b->setChecked(true);
  if (QAbstractButton* b = groupe_test_->button(static_cast<int>(p.test_date))) b->setChecked(true);

  texte_si_change(temps_deb_, qs(p.debut));
  texte_si_change(temps_fin_, qs(p.fin));
  texte_si_change(jour_deb_, qs(jour_semaine_debut(p)));
  texte_si_change(jour_fin_, qs(jour_semaine_fin(p)));
  texte_si_change(resume_, qs(p.resume_lignes));
  QPalette pal = resume_->palette();
  pal.setColor(QPalette::WindowText, p.resume_negatif ? QColor(220, 0, 0) : QColor(0, 0, 200));
  resume_->setPalette(pal);
  texte_si_change(nr_final_, qs(s.liste_horodatee.nr_final));

  const bool horaire = p.unite == UnitePas::heure;
  heure_pas_->setVisible(horaire);
  zero_pas_->setVisible(horaire);
  nb_pas_->setVisible(!horaire);
  unite_pas_->setVisible(!horaire);
  static const char* kUnites[] = {"", "jour", "mois", "année"};
  unite_pas_->setText(QString::fromUtf8(kUnites[static_cast<int>(p.unite)]));
  fenetre_.afficher_liste_horodatee();
}

void RegionPeriode::afficher_periode_description() {
  const Description& d = fenetre_.session().description;
  texte_si_change(dates_dsc_[0], qs(d.min_dsc));
  texte_si_change(dates_dsc_[1], qs(d.max_dsc));
  texte_si_change(dates_dsc_[2], qs(d.pas_dsc));
}

}  // namespace tamso
