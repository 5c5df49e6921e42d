// tamso_manuel_pdf: turns the user manual, written in Markdown with its
// images beside it, into an A4 PDF: a title page with the table of contents,
// one chapter a page onwards, headings, tables, images fitted to the page,
// the chapter's title at the head of each page and its number at the foot.
// Usage: tamso_manuel_pdf MANUEL.md SORTIE.pdf [VERSION]
// "@VERSION@" in the text becomes the program's version.
// It needs no display: Qt's offscreen platform is taken unless another is set.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextOption>
#include <QTextTable>
#include <QUrl>

namespace {

// ---- page and type ----
// Lengths in millimetres; the layout works in points of the page (72 to the
// inch), the writer's resolution.
constexpr int kResolution = 72;
constexpr double kMargeGauche = 20, kMargeDroite = 18, kMargeHaut = 12, kMargeBas = 12;
// The head and foot bands, inside the margins.
constexpr double kBandeHaut = 12, kBandeBas = 10;
// Screenshots are shown at this density unless the page is narrower.
constexpr double kPixelsParPouce = 120;
// and never higher than this share of the page, to stand beside their text.
constexpr double kHauteurImageMax = 0.62;

const QString kPolice = QStringLiteral("DejaVu Sans");
const QString kPoliceFixe = QStringLiteral("DejaVu Sans Mono");
const QColor kCouleurTitre(0x1f, 0x3a, 0x60);
const QColor kCouleurFilet(0xb0, 0xb8, 0xc4);
const QColor kFondCode(0xf2, 0xf2, 0xf2);
const QColor kFondEntete(0xe4, 0xea, 0xf2);

double points(double mm) {
  return mm / 25.4 * kResolution;
}

void echouer(const QString& message) {
  std::fprintf(stderr, "tamso_manuel_pdf : %s\n", qUtf8Printable(message));
  std::exit(1);
}

// French typography: no line break inside « » nor before : ; ? !. The
// blanks there become non-breaking, outside code (fenced blocks and `spans`).
QString espaces_insecables(const QString& markdown) {
  static const std::pair<QString, QString> kRemplacements[] = {
      {QStringLiteral("« "), QStringLiteral("«\u00a0")},
      {QStringLiteral(" »"), QStringLiteral("\u00a0»")},
      {QStringLiteral(" :"), QStringLiteral("\u00a0:")},
      {QStringLiteral(" ;"), QStringLiteral("\u00a0;")},
      {QStringLiteral(" ?"), QStringLiteral("\u00a0?")},
      {QStringLiteral(" !"), QStringLiteral("\u00a0!")}};
  QStringList lignes = markdown.split(QLatin1Char('\n'));
  bool dans_code = false;
  for (QString& ligne : lignes) {
    if (ligne.trimmed().startsWith(QLatin1String("```"))) {
      dans_code = !dans_code;
      continue;
    }
    if (dans_code) continue;
    QStringList morceaux = ligne.split(QLatin1Char('`'));
    for (qsizetype i = 0; i < morceaux.size(); i += 2)
      for (const auto& [avant, apres] : kRemplacements) morceaux[i].replace(avant, apres);
    ligne = morceaux.join(QLatin1Char('`'));
  }
  return lignes.join(QLatin1Char('\n'));
}

// ---- reading the document's parts ----

std::vector<QTextBlock> blocs(const QTextDocument& doc) {
  std::vector<QTextBlock> r;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) r.push_back(b);
  return r;
}

int niveau(const QTextBlock& b) {
  return b.blockFormat().headingLevel();
}

void tables(QTextFrame* cadre, std::vector<QTextTable*>& r) {
  for (QTextFrame* f : cadre->childFrames()) {
    if (auto* t = qobject_cast<QTextTable*>(f)) r.push_back(t);
    tables(f, r);
  }
}

bool dans_une_table(const QTextBlock& b) {
  return QTextCursor(b).currentTable() != nullptr;
}

// True for a paragraph made of one image and nothing else.
bool bloc_image(const QTextBlock& b) {
  bool image = false;
  for (auto it = b.begin(); !it.atEnd(); ++it) {
    const QTextFragment f = it.fragment();
    if (f.charFormat().isImageFormat())
      image = true;
    else if (!f.text().trimmed().isEmpty())
      return false;
  }
  return image;
}

bool bloc_code(const QTextBlock& b) {
  const QTextBlockFormat f = b.blockFormat();
  return f.hasProperty(QTextFormat::BlockCodeFence) ||
         f.hasProperty(QTextFormat::BlockCodeLanguage) || f.nonBreakableLines();
}

// Replaces the character format of a block's text, fragment by fragment,
// through `changer`.
template <class F>
void reformater_texte(QTextDocument& doc, const QTextBlock& b, F changer) {
  std::vector<std::pair<int, int>> morceaux;
  for (auto it = b.begin(); !it.atEnd(); ++it)
    morceaux.emplace_back(it.fragment().position(), it.fragment().length());
  for (const auto& [debut, longueur] : morceaux) {
    QTextCursor c(&doc);
    c.setPosition(debut);
    c.setPosition(debut + longueur, QTextCursor::KeepAnchor);
    // The fragment's own format (a selection's is the one of its start).
    QTextCursor dedans(&doc);
    dedans.setPosition(debut + 1);
    QTextCharFormat f = dedans.charFormat();
    changer(f);
    c.setCharFormat(f);
  }
}

// ---- styles ----

void styler_titres_et_paragraphes(QTextDocument& doc) {
  for (const QTextBlock& b : blocs(doc)) {
    QTextCursor c(b);
    QTextBlockFormat bf = b.blockFormat();
    const int n = niveau(b);
    if (n > 0) {
      static const double kTailles[] = {0, 24, 17, 13, 11, 10, 10};
      const double taille = kTailles[std::min(n, 6)];
      bf.setTopMargin(n == 1 ? 100 : n == 2 ? 0 : 14);
      bf.setBottomMargin(n <= 2 ? 12 : 5);
      if (n == 1) bf.setAlignment(Qt::AlignHCenter);
      if (n == 2) {
        // Each chapter starts a page; a rule under its title.
        bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        bf.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                       QTextLength(QTextLength::PercentageLength, 100));
      }
      c.setBlockFormat(bf);
      reformater_texte(doc, b, [taille, n](QTextCharFormat& f) {
        f.clearProperty(QTextFormat::FontSizeAdjustment);
        f.setFontPointSize(taille);
        f.setFontWeight(n <= 4 ? QFont::Bold : QFont::DemiBold);
        f.setForeground(kCouleurTitre);
      });
      continue;
    }
    if (dans_une_table(b)) continue;
    if (bloc_code(b)) {
      // Code blocks: grey background, smaller fixed type.
      bf.setBackground(kFondCode);
      bf.setNonBreakableLines(false);
      bf.setLeftMargin(6);
      bf.setTopMargin(2);
      bf.setBottomMargin(2);
      c.setBlockFormat(bf);
      reformater_texte(doc, b, [](QTextCharFormat& f) {
        f.setFontFamilies({kPoliceFixe});
        f.setFontPointSize(8.5);
      });
      continue;
    }
    if (bloc_image(b)) {
      bf.setAlignment(Qt::AlignHCenter);
      bf.setTopMargin(6);
      bf.setBottomMargin(2);
      c.setBlockFormat(bf);
      continue;
    }
    bf.setLineHeight(118, QTextBlockFormat::ProportionalHeight);
    bf.setBottomMargin(std::max(bf.bottomMargin(), 5.0));
    c.setBlockFormat(bf);
  }
}

void styler_code_en_ligne(QTextDocument& doc) {
  for (const QTextBlock& b : blocs(doc)) {
    if (bloc_code(b)) continue;
    bool code = false;
    for (auto it = b.begin(); !it.atEnd(); ++it)
      code = code || it.fragment().charFormat().fontFixedPitch();
    if (!code) continue;
    reformater_texte(doc, b, [](QTextCharFormat& f) {
      if (!f.fontFixedPitch()) return;
      f.setFontFamilies({kPoliceFixe});
      f.setFontPointSize(std::max(8.0, (f.fontPointSize() > 0 ? f.fontPointSize() : 10) - 1));
      f.setBackground(kFondCode);
    });
  }
}

void styler_tables(QTextDocument& doc) {
  std::vector<QTextTable*> ts;
  tables(doc.rootFrame(), ts);
  for (QTextTable* t : ts) {
    QTextTableFormat f = t->format();
    f.setBorder(0.6);
    f.setBorderBrush(kCouleurFilet);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setBorderCollapse(true);
    f.setCellSpacing(0);
    f.setCellPadding(3.5);
    f.setTopMargin(4);
    f.setBottomMargin(8);
    f.setHeaderRowCount(1);
    f.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    t->setFormat(f);
    for (int r = 0; r < t->rows(); ++r)
      for (int col = 0; col < t->columns(); ++col) {
        QTextTableCell cellule = t->cellAt(r, col);
        if (r == 0) {
          QTextCharFormat cf = cellule.format();
          cf.setBackground(kFondEntete);
          cellule.setFormat(cf);
        }
        for (auto it = cellule.begin(); !it.atEnd(); ++it) {
          const QTextBlock b = it.currentBlock();
          if (!b.isValid()) continue;
          reformater_texte(doc, b, [r](QTextCharFormat& cf) {
            if (cf.fontFixedPitch()) {
              cf.setFontFamilies({kPoliceFixe});
              cf.setFontPointSize(8.5);
            } else {
              cf.setFontPointSize(9);
            }
            if (r == 0) cf.setFontWeight(QFont::Bold);
          });
        }
      }
  }
}

// Loads every image of the document from the Markdown's folder and sizes it:
// its pixels at kPixelsParPouce, never wider than the text nor higher than a
// share of the page. A missing image stops the tool.
void charger_images(QTextDocument& doc, const QDir& dossier, double largeur_texte,
                    double hauteur_page) {
  for (const QTextBlock& b : blocs(doc)) {
    std::vector<std::pair<int, QTextImageFormat>> images;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (f.charFormat().isImageFormat())
        images.emplace_back(f.position(), f.charFormat().toImageFormat());
    }
    for (auto& [position, format] : images) {
      const QString nom = format.name();
      const QString chemin = dossier.filePath(QUrl(nom).path());
      QImage image(chemin);
      if (image.isNull()) echouer(QStringLiteral("image illisible : ") + chemin);
      doc.addResource(QTextDocument::ImageResource, QUrl(nom), image);
      const double largeur =
          std::min({image.width() / kPixelsParPouce * kResolution, largeur_texte,
                    kHauteurImageMax * hauteur_page * image.width() / image.height()});
      // The image's size is read at 96 to the inch, whatever the page's resolution.
      const double echelle = 96.0 / kResolution;
      format.setWidth(largeur * echelle);
      format.setHeight(largeur * echelle * image.height() / image.width());
      QTextCursor c(&doc);
      c.setPosition(position);
      c.setPosition(position + 1, QTextCursor::KeepAnchor);
      c.setCharFormat(format);
    }
  }
}

// ---- table of contents ----

// The chapter titles, in order.
std::vector<QTextBlock> titres_du_sommaire(const QTextDocument& doc) {
  std::vector<QTextBlock> r;
  for (const QTextBlock& b : blocs(doc))
    if (niveau(b) == 2 && !dans_une_table(b)) r.push_back(b);
  return r;
}

// The table of contents, placed before the first chapter: the chapters, their
// page numbers filled in once the pages are laid out.
QTextTable* inserer_sommaire(QTextDocument& doc) {
  // The titles are copied first: inserting the table moves the blocks.
  std::vector<QString> titres;
  for (const QTextBlock& b : titres_du_sommaire(doc)) titres.push_back(b.text());
  QTextBlock premier;
  for (const QTextBlock& b : blocs(doc))
    if (niveau(b) == 2) {
      premier = b;
      break;
    }
  if (!premier.isValid() || !premier.previous().isValid()) return nullptr;
  QTextCursor c(premier.previous());
  c.movePosition(QTextCursor::EndOfBlock);
  QTextBlockFormat titre_sommaire;
  titre_sommaire.setTopMargin(24);
  titre_sommaire.setBottomMargin(6);
  QTextCharFormat gras;
  gras.setFontPointSize(13);
  gras.setFontWeight(QFont::Bold);
  gras.setForeground(kCouleurTitre);
  c.insertBlock(titre_sommaire, gras);
  c.insertText(QStringLiteral("Sommaire"));

  QTextTableFormat tf;
  tf.setBorder(0);
  tf.setCellPadding(1);
  tf.setCellSpacing(0);
  tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  tf.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 92),
                                QTextLength(QTextLength::PercentageLength, 8)});
  QTextTable* t = c.insertTable(static_cast<int>(titres.size()), 2, tf);
  for (int i = 0; i < static_cast<int>(titres.size()); ++i) {
    QTextCharFormat cf;
    cf.setFontPointSize(10.5);
    QTextBlockFormat bf;
    bf.setTopMargin(3);
    QTextCursor texte = t->cellAt(i, 0).firstCursorPosition();
    texte.setBlockFormat(bf);
    texte.insertText(titres[static_cast<std::size_t>(i)], cf);
    QTextCursor page = t->cellAt(i, 1).firstCursorPosition();
    QTextBlockFormat droite = bf;
    droite.setAlignment(Qt::AlignRight);
    page.setBlockFormat(droite);
    page.insertText(QStringLiteral("0"), cf);
  }
  return t;
}

int page_du_bloc(const QTextDocument& doc, const QTextBlock& b) {
  const QRectF r = doc.documentLayout()->blockBoundingRect(b);
  return static_cast<int>(std::floor(r.top() / doc.pageSize().height())) + 1;
}

// Where the first line of a block stands in the document.
double haut_premiere_ligne(const QTextDocument& doc, const QTextBlock& b) {
  const QRectF r = doc.documentLayout()->blockBoundingRect(b);
  const QTextLayout* l = b.layout();
  return r.top() + (l && l->lineCount() > 0 ? l->lineAt(0).y() : 0.0);
}

// A section title left at the foot of its page, or whose next paragraph (an
// image, say) went to the next page, goes to the next page too; so does an
// image that would cross the foot of its page. True when one moved.
bool eloigner_titres_du_bas(QTextDocument& doc) {
  const double h = doc.pageSize().height();
  const auto titre_de_section = [](const QTextBlock& b) {
    return b.isValid() && niveau(b) >= 3 && !dans_une_table(b);
  };
  const auto saut = [](const QTextBlock& b, QTextFormat::PageBreakFlags politique) {
    QTextBlockFormat bf = b.blockFormat();
    bf.setPageBreakPolicy(politique);
    QTextCursor(b).setBlockFormat(bf);
  };
  for (const QTextBlock& b : blocs(doc)) {
    if (dans_une_table(b) || b.blockFormat().pageBreakPolicy() != QTextFormat::PageBreak_Auto)
      continue;
    const QRectF r = doc.documentLayout()->blockBoundingRect(b);
    const double page = std::floor(r.top() / h);
    if (bloc_image(b) && std::floor((r.bottom() - 1) / h) > page) {
      // An image across the foot of a page starts the next one, with its title.
      saut(titre_de_section(b.previous()) ? b.previous() : b, QTextFormat::PageBreak_AlwaysBefore);
      return true;
    }
    if (!titre_de_section(b)) continue;
    bool seul = r.bottom() - page * h > h - 60;
    const QTextBlock suivant = b.next();
    if (suivant.isValid() && !dans_une_table(suivant))
      seul = seul || std::floor(haut_premiere_ligne(doc, suivant) / h) > page;
    if (seul) {
      saut(b, QTextFormat::PageBreak_AlwaysBefore);
      if (suivant.isValid() && bloc_image(suivant)) saut(suivant, QTextFormat::PageBreak_Auto);
      return true;
    }
  }
  return false;
}

void remplir_sommaire(QTextDocument& doc, QTextTable* sommaire) {
  if (!sommaire) return;
  const std::vector<QTextBlock> titres = titres_du_sommaire(doc);
  for (int i = 0; i < static_cast<int>(titres.size()) && i < sommaire->rows(); ++i) {
    const QTextTableCell cellule = sommaire->cellAt(i, 1);
    QTextCursor c = cellule.firstCursorPosition();
    c.setPosition(cellule.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    const QTextCharFormat cf = c.charFormat();
    c.insertText(QString::number(page_du_bloc(doc, titres[static_cast<std::size_t>(i)])), cf);
  }
}

// ---- drawing the pages ----

// The chapter each page belongs to: the last chapter title at or before it.
std::vector<QString> chapitres_par_page(const QTextDocument& doc, int pages) {
  std::vector<QString> r(static_cast<std::size_t>(pages) + 1);
  for (const QTextBlock& b : blocs(doc))
    if (niveau(b) == 2 && !dans_une_table(b)) {
      const int p = page_du_bloc(doc, b);
      for (int i = p; i <= pages; ++i) r[static_cast<std::size_t>(i)] = b.text();
    }
  return r;
}

void dessiner(QTextDocument& doc, QPdfWriter& writer, const QString& titre) {
  const double largeur = doc.pageSize().width(), hauteur = doc.pageSize().height();
  const int pages = doc.pageCount();
  const auto chapitres = chapitres_par_page(doc, pages);
  QPainter p(&writer);
  const QFont petite(kPolice, 8);
  for (int i = 0; i < pages; ++i) {
    if (i > 0) writer.newPage();
    p.save();
    p.translate(0, points(kBandeHaut) - i * hauteur);
    // A block across two pages is drawn on each: only this page's part shows.
    const QRectF page(0, i * hauteur, largeur, hauteur);
    p.setClipRect(page);
    QAbstractTextDocumentLayout::PaintContext contexte;
    contexte.clip = page;
    doc.documentLayout()->draw(&p, contexte);
    p.restore();

    p.setFont(petite);
    p.setPen(Qt::darkGray);
    const QString chapitre = chapitres[static_cast<std::size_t>(i + 1)];
    if (i > 0) {
      const double y = points(kBandeHaut) - 10;
      p.drawText(QRectF(0, 0, largeur / 2, y), Qt::AlignLeft | Qt::AlignBottom, titre);
      p.drawText(QRectF(largeur / 2, 0, largeur / 2, y), Qt::AlignRight | Qt::AlignBottom,
                 chapitre);
      p.setPen(QPen(kCouleurFilet, 0.5));
      p.drawLine(QPointF(0, y + 3), QPointF(largeur, y + 3));
      p.setPen(Qt::darkGray);
    }
    const double y_pied = points(kBandeHaut) + hauteur;
    p.drawText(QRectF(0, y_pied, largeur, points(kBandeBas)), Qt::AlignHCenter | Qt::AlignBottom,
               QStringLiteral("%1 / %2").arg(i + 1).arg(pages));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage : tamso_manuel_pdf MANUEL.md SORTIE.pdf [VERSION]\n");
    return 2;
  }
  const QString source = QString::fromLocal8Bit(argv[1]);
  const QString sortie = QString::fromLocal8Bit(argv[2]);
  QFile f(source);
  if (!f.open(QIODevice::ReadOnly)) echouer(QStringLiteral("lecture impossible : ") + source);
  QString markdown = espaces_insecables(QString::fromUtf8(f.readAll()));
  if (argc == 4) markdown.replace(QStringLiteral("@VERSION@"), QString::fromLocal8Bit(argv[3]));

  // Written to a temporary file renamed at the end: a failed run leaves no
  // truncated manual behind.
  const QString provisoire = sortie + QStringLiteral(".tmp");
  QPdfWriter writer(provisoire);
  writer.setResolution(kResolution);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(kMargeGauche, kMargeHaut, kMargeDroite, kMargeBas),
                                   QPageLayout::Millimeter));
  writer.setCreator(QStringLiteral("Tamso"));

  QTextDocument doc;
  doc.setDefaultFont(QFont(kPolice, 10));
  // Long paths and lines of code break where they must.
  QTextOption option = doc.defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  doc.setDefaultTextOption(option);
  doc.documentLayout()->setPaintDevice(&writer);
  doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
  doc.setDocumentMargin(0);
  const QRectF zone = writer.pageLayout().paintRect(QPageLayout::Point);
  const double largeur = zone.width();
  const double hauteur = zone.height() - points(kBandeHaut) - points(kBandeBas);
  doc.setPageSize(QSizeF(largeur, hauteur));

  QString titre;
  for (const QTextBlock& b : blocs(doc))
    if (niveau(b) == 1) {
      titre = b.text();
      break;
    }
  if (titre.isEmpty()) echouer(QStringLiteral("le manuel n'a pas de titre (# ...)"));
  writer.setTitle(titre);

  charger_images(doc, QFileInfo(source).absoluteDir(), largeur, hauteur);
  styler_code_en_ligne(doc);
  styler_tables(doc);
  QTextTable* sommaire = inserer_sommaire(doc);
  styler_titres_et_paragraphes(doc);
  // One move at a time: each moves what follows it.
  for (int i = 0; i < 100 && eloigner_titres_du_bas(doc); ++i) {
  }
  // The page numbers take the same room whatever they are: filling them in
  // moves nothing.
  remplir_sommaire(doc, sommaire);

  if (doc.pageCount() < 1) echouer(QStringLiteral("document vide"));
  dessiner(doc, writer, titre);
  QFile::remove(sortie);
  if (!QFile::rename(provisoire, sortie))
    echouer(QStringLiteral("écriture impossible : ") + sortie);
  std::printf("%s : %d pages\n", qUtf8Printable(sortie), doc.pageCount());
  return 0;
}
