#include "ui/graph_curve.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tamso {

namespace {

// A point's pixel coordinates, as a linear function of its abscissa and of
// its value.
struct Transformation {
  double ax = 1, bx = 0, ay = 1, by = 0;
};

// Far beyond the chart, coordinates are held at this distance from it (the
// painter misdraws lines whose ends lie millions of pixels away).
constexpr double kHorsChamp = 1e6;

}  // namespace

CourbeTamso::CourbeTamso(QCPAxis* cles, QCPAxis* valeurs) : QCPAbstractPlottable(cles, valeurs) {}

void CourbeTamso::fixer_points(std::shared_ptr<const PointsGraphique> x, PointsGraphique y,
                               std::vector<BlocPoints> blocs, double echelle, double decalage) {
  x_ = x ? std::move(x) : std::make_shared<PointsGraphique>();
  y_ = std::move(y);
  y_.resize(std::min(y_.size(), x_->size()));
  echelle_ = echelle > 0 ? echelle : 1.0;
  decalage_ = decalage;
  blocs_ = std::move(blocs);
  const std::size_t nb_blocs = (y_.size() + kPointsParBloc - 1) / kPointsParBloc;
  if (blocs_.size() != nb_blocs) {
    blocs_.assign(nb_blocs, BlocPoints{std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(), false});
    for (std::size_t i = 0; i < y_.size(); ++i) {
      BlocPoints& b = blocs_[i / kPointsParBloc];
      if (std::isnan(y_[i])) {
        b.trou = true;
      } else {
        b.bas = std::min(b.bas, y_[i]);
        b.haut = std::max(b.haut, y_[i]);
      }
    }
  }
  y_min_ = std::numeric_limits<double>::infinity();
  y_max_ = -y_min_;
  for (const BlocPoints& b : blocs_) {
    y_min_ = std::min(y_min_, b.bas);
    y_max_ = std::max(y_max_, b.haut);
  }
  valeurs_ = y_min_ <= y_max_;
}

std::pair<std::size_t, std::size_t> CourbeTamso::indices(double bas, double haut) const {
  const auto debut = x_->begin();
  const auto fin = debut + static_cast<std::ptrdiff_t>(y_.size());
  const auto a = std::lower_bound(debut, fin, (bas - decalage_) / echelle_);
  const auto b = std::upper_bound(a, fin, (haut - decalage_) / echelle_);
  return {static_cast<std::size_t>(a - debut), static_cast<std::size_t>(b - debut)};
}

std::pair<std::size_t, std::size_t> CourbeTamso::indices_visibles() const {
  const QCPRange r = keyAxis()->range();
  auto [debut, fin] = indices(r.lower, r.upper);
  if (debut > 0) --debut;
  if (fin < y_.size()) ++fin;
  return {debut, fin};
}

bool CourbeTamso::marqueurs_dessines() const {
  if (y_.empty()) return false;
  const auto [debut, fin] = indices_visibles();
  return marqueurs_pour(fin - debut);
}

bool CourbeTamso::marqueurs_pour(std::size_t points) const {
  return !marqueurs_.isNone() &&
         points <= static_cast<std::size_t>(std::max(0, keyAxis()->axisRect()->width()));
}

QCPRange CourbeTamso::getKeyRange(bool& trouve, QCP::SignDomain) const {
  trouve = !y_.empty();
  if (!trouve) return {};
  return QCPRange(cle(0), cle(y_.size() - 1));
}

QCPRange CourbeTamso::getValueRange(bool& trouve, QCP::SignDomain, const QCPRange&) const {
  trouve = valeurs_;
  return trouve ? QCPRange(y_min_, y_max_) : QCPRange();
}

void CourbeTamso::draw(QCPPainter* painter) {
  if (y_.empty()) return;
  const auto [debut, fin] = indices_visibles();
  if (fin <= debut) return;
  painter->setPen(mPen);
  painter->setBrush(Qt::NoBrush);
  applyDefaultAntialiasingHint(painter);
  const auto largeur = static_cast<std::size_t>(std::max(1, keyAxis()->axisRect()->width()));
  if (fin - debut > 2 * largeur) {
    painter->setAntialiasing(false);
    tracer_enveloppe(painter, debut, fin);
  } else {
    tracer_points(painter, debut, fin);
  }
}

namespace {

Transformation transformation(const QCPAxis& cles, const QCPAxis& valeurs, double echelle,
                              double decalage) {
  // Pixel = p0 + (key - lower) * pente, the key being x * echelle + decalage.
  const QCPRange rx = cles.range(), ry = valeurs.range();
  const double px0 = cles.coordToPixel(rx.lower), px1 = cles.coordToPixel(rx.upper);
  const double py0 = valeurs.coordToPixel(ry.lower), py1 = valeurs.coordToPixel(ry.upper);
  const double pente_x = rx.size() > 0 ? (px1 - px0) / rx.size() : 0.0;
  const double pente_y = ry.size() > 0 ? (py1 - py0) / ry.size() : 0.0;
  Transformation t;
  t.ax = pente_x * echelle;
  t.bx = px0 + pente_x * (decalage - rx.lower);
  t.ay = pente_y;
  t.by = py0 - pente_y * ry.lower;
  return t;
}

}  // namespace

void CourbeTamso::tracer_points(QCPPainter* painter, std::size_t debut, std::size_t fin) const {
  const Transformation t = transformation(*keyAxis(), *valueAxis(), echelle_, decalage_);
  const QRect zone = keyAxis()->axisRect()->rect();
  const auto pixel = [&](std::size_t i) {
    return QPointF(
        std::clamp(t.ax * (*x_)[i] + t.bx, zone.left() - kHorsChamp, zone.right() + kHorsChamp),
        std::clamp(t.ay * y_[i] + t.by, zone.top() - kHorsChamp, zone.bottom() + kHorsChamp));
  };
  // The unbroken runs of points; a point alone between two gaps shows as a dot.
  QPolygonF trait;
  const auto tracer = [&] {
    if (trait.size() == 1)
      painter->drawPoint(trait.front());
    else if (trait.size() > 1)
      painter->drawPolyline(trait);
    trait.clear();
  };
  for (std::size_t i = debut; i < fin; ++i) {
    if (std::isnan(y_[i]))
      tracer();
    else
      trait << pixel(i);
  }
  tracer();

  if (!marqueurs_pour(fin - debut)) return;
  marqueurs_.applyTo(painter, mPen);
  for (std::size_t i = debut; i < fin; ++i) {
    if (std::isnan(y_[i])) continue;
    const QPointF p = pixel(i);
    marqueurs_.drawShape(painter, p.x(), p.y());
  }
}

void CourbeTamso::tracer_enveloppe(QCPPainter* painter, std::size_t debut, std::size_t fin) const {
  const Transformation t = transformation(*keyAxis(), *valueAxis(), echelle_, decalage_);
  const QRect zone = keyAxis()->axisRect()->rect();
  const double haut_max = zone.top() - kHorsChamp, bas_max = zone.bottom() + kHorsChamp;
  const double* x = x_->data();
  const double* y = y_.data();

  // Each pixel column's first, lowest, highest and last value (in pixels),
  // drawn in that order; a gap ends the line where it falls.
  QPolygonF trait;
  trait.reserve(static_cast<qsizetype>(4 * zone.width() + 8));
  long long colonne = 0;
  bool ouverte = false;
  double premier = 0, bas = 0, haut = 0, dernier = 0;
  const auto fermer_colonne = [&] {
    if (!ouverte) return;
    const double cx = static_cast<double>(colonne) + 0.5;
    trait << QPointF(cx, premier) << QPointF(cx, bas) << QPointF(cx, haut) << QPointF(cx, dernier);
    ouverte = false;
  };
  const auto tracer = [&] {
    fermer_colonne();
    if (trait.size() == 4 && bas == haut)
      painter->drawPoint(trait.front());
    else if (!trait.isEmpty())
      painter->drawPolyline(trait);
    trait.clear();
  };
  const double gauche = zone.left() - kHorsChamp, droite = zone.right() + kHorsChamp;
  const auto colonne_de = [&](double cle_x) {
    const double px = std::clamp(t.ax * cle_x + t.bx, gauche, droite);
    const auto c = static_cast<long long>(px);
    return px < static_cast<double>(c) ? c - 1 : c;
  };
  const auto pixel_y = [&](double v) { return std::clamp(t.ay * v + t.by, haut_max, bas_max); };
  for (std::size_t i = debut; i < fin;) {
    // A whole block without gap inside one pixel column: its summary.
    if (i % kPointsParBloc == 0 && i + kPointsParBloc <= fin) {
      const BlocPoints& b = blocs_[i / kPointsParBloc];
      const std::size_t l = i + kPointsParBloc - 1;
      const long long c = colonne_de(x[i]);
      if (!b.trou && colonne_de(x[l]) == c) {
        const double p1 = pixel_y(b.bas), p2 = pixel_y(b.haut);
        if (!ouverte || c != colonne) {
          fermer_colonne();
          colonne = c;
          premier = bas = haut = pixel_y(y[i]);
          ouverte = true;
        }
        bas = std::min({bas, p1, p2});
        haut = std::max({haut, p1, p2});
        dernier = pixel_y(y[l]);
        i += kPointsParBloc;
        continue;
      }
    }
    const double v = y[i];
    if (std::isnan(v)) {
      tracer();
      ++i;
      continue;
    }
    const long long c = colonne_de(x[i]);
    const double py = pixel_y(v);
    if (!ouverte || c != colonne) {
      fermer_colonne();
      colonne = c;
      premier = bas = haut = dernier = py;
      ouverte = true;
    } else {
      bas = std::min(bas, py);
      haut = std::max(haut, py);
      dernier = py;
    }
    ++i;
  }
  tracer();
}

void CourbeTamso::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const {
  applyDefaultAntialiasingHint(painter);
  painter->setPen(mPen);
  painter->drawLine(QLineF(rect.left(), rect.center().y(), rect.right() + 5, rect.center().y()));
  if (marqueurs_.isNone()) return;
  marqueurs_.applyTo(painter, mPen);
  marqueurs_.drawShape(painter, QRectF(rect).center());
}

}  // namespace tamso
