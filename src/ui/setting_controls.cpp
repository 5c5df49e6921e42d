#include "ui/setting_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimeEdit>

#include "app/session.h"
#include "app/window_changes.h"
#include "ui/widgets.h"
#include "ui/window_context.h"

namespace tamso {

ControlesReglages::ControlesReglages(ContexteFenetre& fenetre, QObject* contexte)
    : fenetre_(fenetre), contexte_(contexte) {}

void ControlesReglages::actualiser() {
  for (auto& liaison : liaisons_) liaison();
}

QLineEdit* ControlesReglages::edit_affiche(const char* nom, std::string Description::*champ,
                                           QWidget* parent, int largeur) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(nom));
  if (largeur > 0) e->setFixedWidth(largeur);
  liaisons_.push_back([this, e, champ] {
    const QString t = qs(fenetre_.session().description.*champ);
    if (e->text() != t) e->setText(t);
  });
  return e;
}

QLineEdit* ControlesReglages::edit(const char* nom, std::string Description::*champ,
                                   QWidget* parent, int largeur) {
  QLineEdit* e = edit_affiche(nom, champ, parent, largeur);
  QObject::connect(e, &QLineEdit::textEdited, contexte_, [this, champ](const QString& t) {
    modifier_reglage(fenetre_.session(), champ, ss(t));
    fenetre_.rafraichir_indicateur();
  });
  return e;
}

QCheckBox* ControlesReglages::case_a_cocher(const char* nom, const QString& libelle,
                                            bool Description::*champ, QWidget* parent,
                                            std::function<void(bool)> apres) {
  auto* c = new QCheckBox(libelle, parent);
  c->setObjectName(QString::fromLatin1(nom));
  QObject::connect(c, &QCheckBox::clicked, contexte_, [this, champ, apres](bool coche) {
    cocher_reglage(fenetre_.session(), champ, coche);
    if (apres) apres(coche);
    fenetre_.afficher_etiquettes();
    fenetre_.rafraichir_indicateur();
  });
  liaisons_.push_back([this, c, champ] { c->setChecked(fenetre_.session().description.*champ); });
  return c;
}

QWidget* ControlesReglages::boite_options(const char* suffixe, const QString& titre,
                                          const QStringList& options, int colonnes, QWidget* parent,
                                          QButtonGroup*& groupe) {
  QWidget* g = nullptr;
  QGridLayout* disposition = nullptr;
  int decalage = 0;
  if (colonnes > 0) {
    auto* boite = new QGroupBox(titre, parent);
    disposition = grille(boite);
    disposition->setContentsMargins(6, 1, 6, 2);
    disposition->setVerticalSpacing(1);
    g = boite;
  } else {
    // On one line, the caption first.
    g = new QWidget(parent);
    disposition = grille(g);
    disposition->addWidget(new QLabel(titre, g), 0, 0);
    decalage = 1;
    colonnes = static_cast<int>(options.size());
  }
  g->setObjectName(QStringLiteral("RadioGroup_") + QString::fromLatin1(suffixe));
  groupe = new QButtonGroup(g);
  for (int i = 0; i < options.size(); ++i) {
    auto* r = new QRadioButton(options[i], g);
    r->setObjectName(QStringLiteral("RadioButton%1_").arg(i + 1) + QString::fromLatin1(suffixe));
    groupe->addButton(r, i);
    disposition->addWidget(r, i / colonnes, decalage + i % colonnes);
  }
  if (decalage) disposition->setColumnStretch(decalage + colonnes, 1);
  return g;
}

QWidget* ControlesReglages::groupe_options(const char* suffixe, const QString& titre,
                                           const QStringList& options, MembreParametre champ,
                                           int colonnes, QWidget* parent,
                                           std::function<void(int)> apres) {
  QButtonGroup* boutons = nullptr;
  QWidget* g = boite_options(suffixe, titre, options, colonnes, parent, boutons);
  QObject::connect(boutons, &QButtonGroup::idClicked, contexte_, [this, champ, apres](int i) {
    choisir_option(fenetre_.session(), champ, i);
    if (apres) apres(i);
    fenetre_.afficher_etiquettes();
    fenetre_.afficher_visibilites();
    fenetre_.rafraichir_indicateur();
  });
  liaisons_.push_back([this, boutons, champ] {
    const int v = lire_indice(fenetre_.session().description, champ);
    if (QAbstractButton* b = boutons->button(v)) {
      b->setChecked(true);
    } else if (QAbstractButton* coche = boutons->checkedButton()) {
      // An index outside the options leaves none selected.
      boutons->setExclusive(false);
      coche->setChecked(false);
      boutons->setExclusive(true);
    }
  });
  return g;
}

QTimeEdit* ControlesReglages::heure(const char* nom, double Description::*champ, QWidget* parent) {
  auto* t = new QTimeEdit(parent);
  t->setObjectName(QString::fromLatin1(nom));
  t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  QObject::connect(t, &QTimeEdit::timeChanged, contexte_, [this, champ](const QTime& h) {
    modifier_reglage(fenetre_.session(), champ, valeur_heure(h));
    fenetre_.rafraichir_indicateur();
  });
  liaisons_.push_back([this, t, champ] {
    QSignalBlocker b(t);
    t->setTime(heure_qt(fenetre_.session().description.*champ));
  });
  return t;
}

QDateTimeEdit* ControlesReglages::date_heure(const char* nom, double Description::*champ,
                                             QWidget* parent) {
  auto* t = new QDateTimeEdit(parent);
  t->setObjectName(QString::fromLatin1(nom));
  t->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
  t->setCalendarPopup(true);
  t->setMinimumDateTime(date_heure_qt(1.0));
  QObject::connect(t, &QDateTimeEdit::dateTimeChanged, contexte_,
                   [this, champ](const QDateTime& d) {
                     modifier_reglage(fenetre_.session(), champ, valeur_date_heure(d));
                     fenetre_.rafraichir_indicateur();
                   });
  liaisons_.push_back([this, t, champ] {
    QSignalBlocker b(t);
    t->setDateTime(date_heure_qt(fenetre_.session().description.*champ));
  });
  return t;
}

void ControlesReglages::valider_en_sortie(QLineEdit* e,
                                          std::function<void(const std::string&, bool)> valider) {
  QObject::connect(e, &QLineEdit::returnPressed, contexte_,
                   [e] { e->setProperty("entree", true); });
  QObject::connect(e, &QLineEdit::editingFinished, contexte_, [this, e, valider] {
    const bool entree = e->property("entree").toBool();
    e->setProperty("entree", false);
    // Leaving a box that was just checked with Enter checks nothing again.
    if (!entree && e->property("valide").toString() == e->text()) return;
    valider(ss(e->text()), entree);
    fenetre_.afficher_description();
    fenetre_.afficher_etiquettes();
    fenetre_.rafraichir_indicateur();
    e->setProperty("valide", e->text());
  });
}

EtiquetteCliquable* ControlesReglages::date_cliquable(const char* nom, QWidget* parent) {
  auto* l = new EtiquetteCliquable(parent);
  l->setObjectName(QString::fromLatin1(nom));
  l->setProperty("teinte", QStringLiteral("c2"));
  l->setToolTip(
      QStringLiteral("un doubleclik permet de récupérer la date pour la valeur Min ou Max "));
  l->setMinimumWidth(128);
  l->setCursor(Qt::PointingHandCursor);
  QObject::connect(l, &EtiquetteCliquable::doubleClique, contexte_, [this, l] {
    recuperer_date_cliquee(fenetre_.session(), ss(l->objectName()), ss(l->text()));
    fenetre_.afficher_periode();
    fenetre_.rafraichir_indicateur();
  });
  return l;
}

}  // namespace tamso
