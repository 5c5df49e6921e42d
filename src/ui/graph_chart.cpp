#include "ui/graph_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QRubberBand>

#include "ui/graph_curve.h"

namespace tamso {

namespace {

constexpr int kPasAnimation = 32;
constexpr int kDureeAnimationMs = 240;
// A press and a release closer than this (Manhattan pixels) make a click.
constexpr int kSeuilClic = 3;
// How far from a point a click still picks it, in pixels.
constexpr double kToleranceClic = 8.0;

QCPRange interpoler(const QCPRange& a, const QCPRange& b, double t) {
  return QCPRange(a.lower + (b.lower - a.lower) * t, a.upper + (b.upper - a.upper) * t);
}

}  // namespace

// The values of the points written above them, on a layer of their own over
// the graphs. Only the points of the visible key range are looked at, a few
// per pixel at most, and a label that would overlap the previous one of its
// series is left out: the chart stays quick on a year of one-minute data and
// every point's value shows once zoomed in.
class EtiquettesValeurs : public QCPLayerable {
 public:
  EtiquettesValeurs(QCustomPlot* graphe, const QString& calque) : QCPLayerable(graphe, calque) {}
  QChar separateur = QLatin1Char(',');

 protected:
  void applyDefaultAntialiasingHint(QCPPainter* painter) const override {
    applyAntialiasingHint(painter, false, QCP::aeNone);
  }
  QRect clipRect() const override { return parentPlot()->axisRect()->rect(); }
  void draw(QCPPainter* painter) override;
};

void EtiquettesValeurs::draw(QCPPainter* painter) {
  QCustomPlot* p = parentPlot();
  const QRect zone = p->axisRect()->rect();
  QFont police = p->font();
  police.setPointSizeF(std::max(6.0, police.pointSizeF() - 1.5));
  painter->setFont(police);
  const QFontMetrics fm(police);
  for (int i = 0; i < p->plottableCount(); ++i) {
    const auto* g = qobject_cast<CourbeTamso*>(p->plottable(i));
    if (!g || !g->visible() || g->taille() == 0) continue;
    painter->setPen(g->pen().color());
    const QCPRange r = g->keyAxis()->range();
    const auto [debut, fin] = g->indices(r.lower, r.upper);
    const long long nb = static_cast<long long>(fin - debut);
    const long long pas = std::max<long long>(1, nb / std::max(1, zone.width() / 3));
    const double decalage = g->marqueurs_dessines() ? g->rayon_point() + 2 : 3;
    double droite_precedente = -std::numeric_limits<double>::infinity();
    for (long long j = 0; j < nb; j += pas) {
      const std::size_t k = debut + static_cast<std::size_t>(j);
      const double valeur = g->valeur(k);
      if (!std::isfinite(valeur)) continue;
      const QPointF px = g->coordsToPixels(g->cle(k), valeur);
      QString t = QString::number(valeur, 'f', 3);
      while (t.endsWith(QLatin1Char('0'))) t.chop(1);
      if (t.endsWith(QLatin1Char('.'))) t.chop(1);
      t.replace(QLatin1Char('.'), separateur);
      const int largeur = fm.horizontalAdvance(t);
      const double gauche = px.x() - largeur / 2.0;
      if (gauche < droite_precedente + 4) continue;
      painter->drawText(QPointF(gauche, px.y() - decalage), t);
      droite_precedente = gauche + largeur;
    }
  }
}

namespace {

// Date-time ticks never closer than a given step.
class GraduationsTemps : public QCPAxisTickerDateTime {
 public:
  explicit GraduationsTemps(double pas_minimal) : pas_minimal_(pas_minimal) {}

 protected:
  double getTickStep(const QCPRange& r) override {
    // Fewer ticks first, so that the usual steps (whole months included)
    // come out at least as long as the shortest step...
    const int demande = mTickCount;
    mTickCount =
        std::clamp(static_cast<int>(std::ceil(r.size() / pas_minimal_)), 1, std::max(1, demande));
    double pas = QCPAxisTickerDateTime::getTickStep(r);
    mTickCount = demande;
    // ... then whole multiples of it (ticks at midnight, whole minutes).
    if (pas < pas_minimal_) {
      pas =
          pas_minimal_ * std::max(1.0, std::round(r.size() / std::max(1, demande) / pas_minimal_));
      mDateStrategy = dsNone;
    }
    return pas;
  }

  QVector<double> createTickVector(double pas, const QCPRange& r) override {
    QVector<double> ticks = QCPAxisTickerDateTime::createTickVector(pas, r);
    if (std::any_of(ticks.begin(), ticks.end(), [&r](double t) { return r.contains(t); }))
      return ticks;
    // A range shorter than the step between labels (a day under a date-only
    // format) still gets one label, in its middle.
    ticks.insert(std::upper_bound(ticks.begin(), ticks.end(), r.center()), r.center());
    return ticks;
  }

 private:
  double pas_minimal_;
};

}  // namespace

GrapheTamso::GrapheTamso(QWidget* parent) : QCustomPlot(parent) {
  setInteractions({});
  setMouseTracking(true);
  setSelectionRectMode(QCP::srmNone);
  setPlottingHint(QCP::phFastPolylines, true);
  setNoAntialiasingOnDrag(true);
  setBackground(Qt::white);
  axisRect()->setBackground(Qt::white);
  legend->setVisible(false);
  legend->setBrush(QColor(255, 255, 255, 200));
  legend->setBorderPen(QPen(QColor(180, 180, 180)));
  // The legend over the chart (which it does not shrink), 14 pixels from
  // its top and 100 pixels from its right edge.
  axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
  axisRect()->insetLayout()->setMargins(QMargins(0, 14, 100, 0));
  legend->setMargins(QMargins(6, 3, 6, 3));
  // The same left margin on every chart (unless its labels need more): the
  // time axes of the stacked charts line up.
  axisRect()->setMinimumMargins(QMargins(64, 6, 12, 6));
  xAxis2->setVisible(false);
  yAxis2->setVisible(false);
  addLayer(QStringLiteral("valeurs"), layer(QStringLiteral("main")), QCustomPlot::limAbove);
  etiquettes_ = new EtiquettesValeurs(this, QStringLiteral("valeurs"));
  etiquettes_->setVisible(false);

  animation_.setStartValue(0.0);
  animation_.setEndValue(1.0);
  animation_.setDuration(kDureeAnimationMs);
  connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
    // Whole steps: the zoom moves in 32 jumps.
    const double t = std::ceil(v.toDouble() * kPasAnimation) / kPasAnimation;
    xAxis->setRange(interpoler(depart_x_, cible_x_, t));
    yAxis->setRange(interpoler(depart_y_, cible_y_, t));
    replot(rpQueuedReplot);
    emit plages_changees();
  });
  connect(&animation_, &QVariantAnimation::finished, this, [this] {
    xAxis->setRange(cible_x_);
    yAxis->setRange(cible_y_);
    replot(rpQueuedReplot);
    emit plages_changees();
  });
  connect(this, &QCustomPlot::beforeReplot, this, &GrapheTamso::ajuster_graduations);
}

void GrapheTamso::ajuster_graduations() {
  // Vertical labels at least 40 pixels apart (the ticker may give up to
  // twice the count asked for, to land on round values); time labels about
  // 120 apart.
  const int hauteur = axisRect()->height();
  yAxis->ticker()->setTickCount(std::max(2, hauteur / 80));
  xAxis->ticker()->setTickCount(std::max(2, axisRect()->width() / 120));
}

void GrapheTamso::fixer_axe_temps(const QString& format, double pas_minimal) {
  auto g = QSharedPointer<GraduationsTemps>::create(pas_minimal);
  g->setDateTimeFormat(format);
  g->setDateTimeSpec(Qt::UTC);
  xAxis->setTicker(g);
}

void GrapheTamso::fixer_axe_numerique() {
  xAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
}

void GrapheTamso::fixer_plages_completes(const QCPRange& x, const QCPRange& y) {
  animation_.stop();
  complete_x_ = x;
  complete_y_ = y;
}

void GrapheTamso::zoomer_vers(const QCPRange& x, const QCPRange& y) {
  animation_.stop();
  depart_x_ = xAxis->range();
  depart_y_ = yAxis->range();
  cible_x_ = x;
  cible_y_ = y;
  animation_.start();
}

void GrapheTamso::zoom_vertical(int crans) {
  QCPRange r = yAxis->range();
  for (int i = 0; i < std::abs(crans); ++i) {
    const double d = r.size() * 0.1;
    if (crans > 0) {
      r.lower += d;
      r.upper -= d;
    } else {
      r.lower -= d;
      r.upper += d;
    }
  }
  yAxis->setRange(r);
  replot(rpQueuedReplot);
  emit plages_changees();
}

void GrapheTamso::fixer_etiquettes_valeurs(bool oui, QChar separateur) {
  etiquettes_->separateur = separateur;
  etiquettes_->setVisible(oui);
}

CourbeTamso* GrapheTamso::courbe(int i) const {
  // QCustomPlot hands its plottables out only from a non-const chart.
  return qobject_cast<CourbeTamso*>(const_cast<GrapheTamso*>(this)->plottable(i));
}

CourbeTamso* GrapheTamso::ajouter_courbe() {
  return new CourbeTamso(xAxis, yAxis);
}

std::optional<PointGraphe> GrapheTamso::point_proche(const QPointF& pos) const {
  std::optional<PointGraphe> meilleur;
  double meilleure_distance = std::numeric_limits<double>::infinity();
  for (int i = 0; i < nb_courbes(); ++i) {
    const CourbeTamso* g = courbe(i);
    if (!g || !g->visible() || g->taille() == 0) continue;
    const double tolerance =
        std::max(kToleranceClic, g->marqueurs_dessines() ? g->rayon_point() + 2 : 0.0);
    double k1 = xAxis->pixelToCoord(pos.x() - tolerance);
    double k2 = xAxis->pixelToCoord(pos.x() + tolerance);
    if (k1 > k2) std::swap(k1, k2);
    // Every real point near the click, however many share its pixels.
    const auto [debut, fin] = g->indices(k1, k2);
    for (std::size_t k = debut; k < fin; ++k) {
      const double valeur = g->valeur(k);
      if (!std::isfinite(valeur)) continue;
      const QPointF px(xAxis->coordToPixel(g->cle(k)), yAxis->coordToPixel(valeur));
      const double d = std::hypot(px.x() - pos.x(), px.y() - pos.y());
      if (d <= tolerance && d < meilleure_distance) {
        meilleure_distance = d;
        meilleur = PointGraphe{i, g->cle(k), valeur};
      }
    }
  }
  return meilleur;
}

// ---------------------------------------------------------------- the mouse

void GrapheTamso::mousePressEvent(QMouseEvent* e) {
  origine_ = e->pos();
  deplace_ = false;
  if (e->button() == Qt::LeftButton) {
    gauche_ = true;
  } else if (e->button() == Qt::RightButton) {
    droite_ = true;
    animation_.stop();
    glisse_x_ = xAxis->range();
    glisse_y_ = yAxis->range();
    emit clic_droit();
  }
  e->accept();
}

void GrapheTamso::mouseMoveEvent(QMouseEvent* e) {
  emit souris_deplacee(e->pos());
  if (!gauche_ && !droite_) return;
  if ((e->pos() - origine_).manhattanLength() > kSeuilClic) deplace_ = true;
  if (!deplace_) return;
  if (gauche_) {
    if (!rectangle_) rectangle_ = new QRubberBand(QRubberBand::Rectangle, this);
    rectangle_->setGeometry(QRect(origine_, e->pos()).normalized());
    rectangle_->show();
  } else {
    // The chart follows the pointer in both directions.
    const double dx = xAxis->pixelToCoord(origine_.x()) - xAxis->pixelToCoord(e->pos().x());
    const double dy = yAxis->pixelToCoord(origine_.y()) - yAxis->pixelToCoord(e->pos().y());
    xAxis->setRange(glisse_x_.lower + dx, glisse_x_.upper + dx);
    yAxis->setRange(glisse_y_.lower + dy, glisse_y_.upper + dy);
    glisse_x_ = xAxis->range();
    glisse_y_ = yAxis->range();
    origine_ = e->pos();
    replot(rpQueuedReplot);
    emit plages_changees();
  }
}

void GrapheTamso::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && gauche_) {
    gauche_ = false;
    if (rectangle_) rectangle_->hide();
    if (!deplace_) {
      emit clic(e->pos());
    } else if (e->pos().x() > origine_.x() && e->pos().y() > origine_.y()) {
      // Down and to the right: zoom on the rectangle.
      const QRect r = QRect(origine_, e->pos()).normalized();
      zoomer_vers(QCPRange(xAxis->pixelToCoord(r.left()), xAxis->pixelToCoord(r.right())),
                  QCPRange(yAxis->pixelToCoord(r.bottom()), yAxis->pixelToCoord(r.top())));
    } else {
      restaurer();
    }
  } else if (e->button() == Qt::RightButton) {
    droite_ = false;
  }
  e->accept();
}

void GrapheTamso::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) restaurer();
  e->accept();
}

void GrapheTamso::wheelEvent(QWheelEvent* e) {
  // The window zooms the chart under the mouse.
  emit molette(e->position().toPoint(), e->angleDelta().y() / 120);
  e->accept();
}

}  // namespace tamso
