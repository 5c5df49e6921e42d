#include "ui/window_style.h"

#include "app/session.h"
#include "ui/widgets.h"

namespace tamso {

QString feuille_de_style_fenetre(const std::array<Couleur, 4>& c) {
  const QString c1 = couleur_css(c[0]), c2 = couleur_css(c[1]), c3 = couleur_css(c[2]),
                c4 = couleur_css(c[3]);
  return QStringLiteral(
             "QWidget#contenu, QWidget#racine { background: %1; }"
             "QGroupBox { border: 1px solid rgba(0,0,0,60); border-radius: 4px; "
             "margin-top: 8px; padding-top: 2px; }"
             "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 3px; }"
             "QGroupBox#Cadre1, QGroupBox#Cadre3, QGroupBox#Cadre5 { border: 3px solid "
             "rgb(255,91,13); border-radius: 6px; margin-top: 11px; font-weight: bold; }"
             "QGroupBox#Cadre2, QGroupBox#Cadre4 { border: 3px solid rgb(0,0,255); "
             "border-radius: 6px; margin-top: 11px; font-weight: bold; }"
             "QGroupBox#Cadre1::title, QGroupBox#Cadre3::title, QGroupBox#Cadre5::title "
             "{ color: rgb(255,91,13); font-size: 11pt; }"
             "QGroupBox#Cadre2::title, QGroupBox#Cadre4::title { color: rgb(0,0,255); "
             "font-size: 11pt; }"
             "QGroupBox#Cadre1 QWidget, QGroupBox#Cadre2 QWidget, QGroupBox#Cadre3 QWidget,"
             " QGroupBox#Cadre4 QWidget, QGroupBox#Cadre5 QWidget { font-weight: normal; }"
             "QPushButton { background: %2; border: 1px solid rgba(0,0,0,70); "
             "border-radius: 3px; padding: 2px 7px; }"
             "QPushButton:hover { border: 1px solid rgba(0,0,0,170); }"
             "QPushButton:pressed { background: rgba(0,0,0,40); }"
             "QPushButton:disabled { color: rgb(150,150,150); }"
             "QPushButton[etat=\"rouge\"] { color: rgb(220,0,0); }"
             "QPushButton[etat=\"bleu\"] { color: rgb(0,0,200); }"
             "QPushButton[etat=\"violet\"] { color: rgb(128,0,128); }"
             "QPushButton[etat=\"gris\"] { color: rgb(150,150,150); }"
             "QPushButton[etat=\"marron\"] { color: rgb(128,0,0); }"
             "QLineEdit, QPlainTextEdit, QListWidget, QTableView, QDateEdit, QTimeEdit, "
             "QDateTimeEdit, QSpinBox, QComboBox, QTreeView { background: %3; }"
             "QLineEdit[teinte=\"c4\"], QPlainTextEdit#Memo2 { background: %4; }"
             "QLineEdit[teinte=\"c1\"] { background: %1; }"
             "QLabel[teinte=\"c2\"] { background: %2; color: rgb(0,0,200); padding: 1px 3px;"
             " border-radius: 2px; }"
             "QLineEdit#Edit_intitule_origine { color: rgb(90,90,90); }"
             "QWidget[actif=\"oui\"] QTimeEdit, QWidget[actif=\"oui\"] QDateTimeEdit, "
             "QWidget[actif=\"oui\"] QSpinBox { background: %2; color: rgb(0,0,139); "
             "font-weight: bold; }"
             "QWidget[actif=\"non\"] QTimeEdit, QWidget[actif=\"non\"] QDateTimeEdit, "
             "QWidget[actif=\"non\"] QSpinBox { background: rgb(240,240,230); "
             "color: rgb(140,140,140); }"
             "QWidget#Panel_decalage QRadioButton { color: rgb(128,0,0); }"
             "QHeaderView::section { background: palette(window); color: rgb(128,0,0); "
             "border: 0; border-right: 1px solid rgba(0,0,0,50); "
             "border-bottom: 1px solid rgba(0,0,0,80); padding: 2px 3px; }")
      .arg(c1, c2, c3, c4);
}

QString feuille_de_style_panneaux(const std::array<Couleur, 4>& c) {
  return QStringLiteral(
             "QFrame#Panel1, QFrame#Panel_choix_repertoire, QFrame#Panel_coche,"
             " QFrame#Panel_couleurs, QFrame#Panel_resume_dsc { background: %1; "
             "border: 2px solid rgba(0,0,0,110); border-radius: 5px; }"
             "QPushButton { background: %2; border: 1px solid rgba(0,0,0,70); "
             "border-radius: 3px; padding: 3px 8px; }"
             "QPushButton:hover { border: 1px solid rgba(0,0,0,170); }"
             "QPlainTextEdit, QListWidget, QTreeView, QLineEdit, QComboBox "
             "{ background: %3; }")
      .arg(couleur_css(c[1]), couleur_css(c[0]), couleur_css(c[2]));
}

}  // namespace tamso
