#include "ui/directory_panel.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include "input/text.h"
#include "ui/widgets.h"

namespace tamso {

namespace {

QString avec_separateur(QString d) {
  d = QDir::toNativeSeparators(d);
  if (!d.isEmpty() && !d.endsWith(QDir::separator())) d += QDir::separator();
  return d;
}

}  // namespace

PanneauRepertoires::PanneauRepertoires(QWidget* parent) : PanneauFlottant(parent) {
  setObjectName(QStringLiteral("Panel_choix_repertoire"));
  fixerDeplacable(true);
  auto* principal = new QHBoxLayout(this);
  principal->setContentsMargins(8, 6, 8, 8);

  auto* gauche = new QVBoxLayout;
  principal->addLayout(gauche, 3);
  construire_en_tete(gauche);
  construire_arborescence(gauche);
  construire_commandes(gauche);

  recents_ = new QListWidget(this);
  recents_->setObjectName(QStringLiteral("ListBox_rep_recents"));
  recents_->setToolTip(QStringLiteral("un double-clic choisit le répertoire"));
  recents_->hide();
  principal->addWidget(recents_, 3);
  connect(recents_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { emit recent_choisi(item->text()); });
}

void PanneauRepertoires::construire_en_tete(QVBoxLayout* gauche) {
  auto* haut = new QHBoxLayout;
  titre_ = new QLabel(this);
  titre_->setObjectName(QStringLiteral("Label_titre_choix"));
  QFont f = titre_->font();
  f.setBold(true);
  titre_->setFont(f);
  haut->addWidget(titre_, 1);
  auto* fermer = bouton(QStringLiteral("SpeedButton_fermer_choix"), QStringLiteral("X"), this);
  fermer->setFixedWidth(28);
  haut->addWidget(fermer);
  gauche->addLayout(haut);

  auto* ligne_lecteurs = new QHBoxLayout;
  lecteurs_ = new QComboBox(this);
  lecteurs_->setObjectName(QStringLiteral("DriveComboBox1"));
  ligne_lecteurs->addWidget(new QLabel(QStringLiteral("volume"), this));
  ligne_lecteurs->addWidget(lecteurs_, 1);
  auto* documents =
      bouton(QStringLiteral("SpeedButton_documents"), QStringLiteral("Documents"), this);
  auto* bureau = bouton(QStringLiteral("SpeedButton_bureau"), QStringLiteral("Bureau"), this);
  auto* explorateur =
      bouton(QStringLiteral("SpeedButton_explorateur"), QStringLiteral("explorateur..."), this);
  explorateur->setToolTip(
      QStringLiteral("ouvrir le dossier dans l'explorateur de fichiers pour "
                     "créer des répertoires"));
  ligne_lecteurs->addWidget(documents);
  ligne_lecteurs->addWidget(bureau);
  ligne_lecteurs->addWidget(explorateur);
  gauche->addLayout(ligne_lecteurs);

  connect(fermer, &QPushButton::clicked, this, &PanneauRepertoires::annule);
  connect(documents, &QPushButton::clicked, this, [this] {
    choisir_dossier(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  });
  connect(bureau, &QPushButton::clicked, this, [this] {
    choisir_dossier(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
  });
  connect(explorateur, &QPushButton::clicked, this,
          [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(dossier_)); });
  connect(lecteurs_, &QComboBox::activated, this,
          [this](int i) { choisir_dossier(lecteurs_->itemData(i).toString()); });
}

void PanneauRepertoires::construire_arborescence(QVBoxLayout* gauche) {
  auto* milieu = new QHBoxLayout;
  modele_ = new QFileSystemModel(this);
  modele_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  modele_->setRootPath(QString());
  arbre_ = new QTreeView(this);
  arbre_->setObjectName(QStringLiteral("DirectoryListBox1"));
  arbre_->setModel(modele_);
  for (int c = 1; c < modele_->columnCount(); ++c) arbre_->hideColumn(c);
  arbre_->header()->hide();
  milieu->addWidget(arbre_, 3);

  auto* colonne_fichiers = new QVBoxLayout;
  fichiers_ = new QListWidget(this);
  fichiers_->setObjectName(QStringLiteral("FileListBox1"));
  fichiers_->setToolTip(QStringLiteral("un double-clic ouvre le fichier dans le blocnote"));
  nb_fichiers_ = new QLabel(this);
  nb_fichiers_->setObjectName(QStringLiteral("Label_nb_fichiers_choix"));
  colonne_fichiers->addWidget(fichiers_, 1);
  colonne_fichiers->addWidget(nb_fichiers_);
  milieu->addLayout(colonne_fichiers, 2);
  gauche->addLayout(milieu, 1);

  choisi_ = new QLabel(this);
  choisi_->setObjectName(QStringLiteral("Label_repertoire_choisi"));
  choisi_->setStyleSheet(QStringLiteral("color: rgb(220,0,0); font-weight: bold;"));
  choisi_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  gauche->addWidget(choisi_);

  connect(arbre_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& i) {
            if (!i.isValid()) return;
            dossier_ = avec_separateur(modele_->filePath(i));
            choisi_->setText(dossier_);
            remplir_fichiers();
          });
  connect(fichiers_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { emit fichier_choisi(dossier_ + item->text()); });
}

void PanneauRepertoires::construire_commandes(QVBoxLayout* gauche) {
  auto* bas = new QHBoxLayout;
  auto* recents = bouton(QStringLiteral("SpeedButton_recents"), QStringLiteral("récents"), this);
  auto* valider =
      bouton(QStringLiteral("SpeedButton_valider_repertoire"), QStringLiteral("Valider"), this);
  auto* annuler =
      bouton(QStringLiteral("SpeedButton_annuler_repertoire"), QStringLiteral("Annuler"), this);
  valider->setMinimumWidth(110);
  bas->addWidget(recents);
  bas->addStretch(1);
  bas->addWidget(annuler);
  bas->addWidget(valider);
  gauche->addLayout(bas);
  connect(annuler, &QPushButton::clicked, this, &PanneauRepertoires::annule);
  connect(valider, &QPushButton::clicked, this, &PanneauRepertoires::valide);
  connect(recents, &QPushButton::clicked, this, &PanneauRepertoires::recents_demandes);
}

void PanneauRepertoires::remplir_lecteurs() {
  lecteurs_->clear();
  QStringList vus;
  const auto ajouter = [&](const QString& racine, const QString& nom) {
    const QString r = avec_separateur(racine);
    if (r.isEmpty() || vus.contains(r)) return;
    vus << r;
    lecteurs_->addItem(nom.isEmpty() ? r : nom + QStringLiteral("  (") + r + QStringLiteral(")"),
                       r);
  };
  for (const QFileInfo& d : QDir::drives()) ajouter(d.absoluteFilePath(), QString());
  ajouter(QDir::homePath(), QStringLiteral("dossier personnel"));
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid() || !v.isReady()) continue;
    const QString type = QString::fromLatin1(v.fileSystemType());
    if (type == QLatin1String("tmpfs") || type == QLatin1String("devtmpfs") ||
        type == QLatin1String("overlay") || type.startsWith(QLatin1String("squashfs")))
      continue;
    ajouter(v.rootPath(), v.displayName() == v.rootPath() ? QString() : v.displayName());
  }
}

void PanneauRepertoires::remplir_fichiers() {
  fichiers_->clear();
  const QStringList noms = QDir(dossier_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
  fichiers_->addItems(noms);
  nb_fichiers_->setText(qs(compte_fichiers(noms.size())));
}

void PanneauRepertoires::ouvrir(Repertoire quel, const QString& titre, const QString& depart) {
  actif_ = quel;
  titre_->setText(titre);
  remplir_lecteurs();
  cacher_recents();
  choisir_dossier(depart);
  show();
  raise();
}

void PanneauRepertoires::choisir_dossier(const QString& dossier) {
  if (dossier.isEmpty()) return;
  const QString propre = QDir::cleanPath(dossier);
  const QModelIndex i = modele_->index(propre);
  dossier_ = avec_separateur(propre);
  choisi_->setText(dossier_);
  if (i.isValid()) {
    arbre_->setCurrentIndex(i);
    arbre_->scrollTo(i);
    arbre_->expand(i);
  }
  remplir_fichiers();
}

void PanneauRepertoires::montrer_recents(const QStringList& entrees) {
  recents_->clear();
  recents_->addItems(entrees);
  recents_->show();
}

void PanneauRepertoires::cacher_recents() {
  recents_->hide();
}

bool PanneauRepertoires::recents_visibles() const {
  return recents_->isVisible();
}

}  // namespace tamso
