#include "ui/graph_3d.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include <QPainter>

#include "ui/graph_chart.h"
#include "ui/graph_curve.h"

namespace tamso {

namespace {

constexpr double kDegre = std::numbers::pi / 180.0;

struct Point3 {
  double x, y, z;
};

// World coordinates: x along the time axis (0..l), y along the values
// (0..h), z into the depth (0 in front .. p at the back).
class Projection {
 public:
  Projection(const Parametres3D& v, double l, double h, double p) : l_(l), h_(h), p_(p) {
    if (v.orthogonal) {
      // Oblique: a point deeper by d moves d·cos 45° right and up.
      oblique_ = true;
      const double k = std::numbers::sqrt2 / 2;
      direction_ = normer({-k, -k, 1});
      return;
    }
    // The starting view (rotation and elevation at 360) looks at the box
    // from a little to the right and above, as the oblique view does;
    // lowering the rotation turns the box round its vertical axis (180 shows
    // it from behind), lowering the elevation raises the eye (towards a view
    // from straight above).
    const double lacet = (15.0 - (360 - v.rotation)) * kDegre;
    const double tangage = (15.0 + (360 - v.elevation) * 75.0 / 180.0) * kDegre;
    cl_ = std::cos(lacet);
    sl_ = std::sin(lacet);
    ct_ = std::cos(tangage);
    st_ = std::sin(tangage);
    focale_ = 4.0 * std::max({l, h, p});
    direction_ = {-sl_ * ct_, -st_, cl_ * ct_};
  }

  // The screen point (before fitting to the zone) and the distance from the
  // eye along the view (larger is farther).
  QPointF operator()(const Point3& q, double* profondeur = nullptr) const {
    const double x = q.x - l_ / 2, y = q.y - h_ / 2, z = q.z - p_ / 2;
    if (oblique_) {
      const double k = std::numbers::sqrt2 / 2;
      if (profondeur) *profondeur = direction_.x * x + direction_.y * y + direction_.z * z;
      return {x + z * k, -(y + z * k)};
    }
    const double x1 = x * cl_ + z * sl_;
    const double z1 = -x * sl_ + z * cl_;
    const double haut = y * ct_ + z1 * st_;
    const double prof = z1 * ct_ - y * st_;
    if (profondeur) *profondeur = prof;
    const double s = focale_ / (focale_ + prof);
    return {x1 * s, -haut * s};
  }
  // A face whose outward normal points away from the eye: seen from inside,
  // it is a wall behind the series.
  bool face_arriere(const Point3& normale) const {
    return normale.x * direction_.x + normale.y * direction_.y + normale.z * direction_.z > 1e-9;
  }

 private:
  static Point3 normer(Point3 v) {
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
  }
  double l_, h_, p_;
  bool oblique_ = false;
  double cl_ = 1, sl_ = 0, ct_ = 1, st_ = 0, focale_ = 1;
  Point3 direction_{0, 0, 1};
};

struct Facette {
  std::array<QPointF, 4> coins;
  double profondeur;
  QColor fond, trait;
};

// The points of a graph over the key range, thinned to two per column of
// `colonnes` (the lowest and the highest value of the column, in their
// order): x in 0..1 along the range, NaN y where the line is broken.
std::vector<QPointF> points_reduits(const CourbeTamso& g, const QCPRange& r, int colonnes) {
  std::vector<QPointF> pts;
  const auto [debut, fin] = g.indices(r.lower, r.upper);
  const long long nb = static_cast<long long>(fin - debut);
  const double nan = std::nan("");
  const auto u = [&r](double cle) { return (cle - r.lower) / r.size(); };
  if (nb <= 2LL * colonnes) {
    for (std::size_t k = debut; k < fin; ++k) pts.emplace_back(u(g.cle(k)), g.valeur(k));
    return pts;
  }
  int colonne = -1;
  double bas = nan, haut = nan, cle_bas = 0, cle_haut = 0;
  bool vide = true;
  const auto vider = [&] {
    if (colonne < 0) return;
    if (vide) {
      pts.emplace_back((colonne + 0.5) / colonnes, nan);
    } else if (cle_bas <= cle_haut) {
      pts.emplace_back(u(cle_bas), bas);
      if (cle_haut != cle_bas) pts.emplace_back(u(cle_haut), haut);
    } else {
      pts.emplace_back(u(cle_haut), haut);
      pts.emplace_back(u(cle_bas), bas);
    }
  };
  for (std::size_t k = debut; k < fin; ++k) {
    const double cle = g.cle(k), valeur = g.valeur(k);
    const int c = std::clamp(static_cast<int>(u(cle) * colonnes), 0, colonnes - 1);
    if (c != colonne) {
      vider();
      colonne = c;
      vide = true;
    }
    if (!std::isfinite(valeur)) continue;
    if (vide || valeur < bas) {
      bas = valeur;
      cle_bas = cle;
    }
    if (vide || valeur > haut) {
      haut = valeur;
      cle_haut = cle;
    }
    vide = false;
  }
  vider();
  return pts;
}

QColor nuance(const QColor& c, double lumiere) {
  return QColor::fromRgbF(static_cast<float>(c.redF() * lumiere),
                          static_cast<float>(c.greenF() * lumiere),
                          static_cast<float>(c.blueF() * lumiere));
}

}  // namespace

Vue3D::Vue3D(GrapheTamso& graphe, QWidget* parent) : QWidget(parent), graphe_(graphe) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Vue3D::paintEvent(QPaintEvent*) {
  QPainter p(this);
  dessiner(p, QRectF(rect()));
}

void Vue3D::dessiner(QPainter& p, const QRectF& zone) const {
  p.save();
  p.fillRect(zone, Qt::white);
  const int n = graphe_.nb_courbes();
  if (n == 0) {
    p.restore();
    return;
  }
  const QCPRange rx = graphe_.xAxis->range();
  const QCPRange ry = graphe_.yAxis->range();
  const QFontMetricsF fm(p.font());
  const QRectF cadre = zone.adjusted(axes ? fm.horizontalAdvance(QStringLiteral("-00000,000")) : 8,
                                     8, -8, axes ? -(fm.height() + 10) : -8);
  if (cadre.width() < 20 || cadre.height() < 20) {
    p.restore();
    return;
  }

  // The box: as wide and as high as the zone, as deep as the depth asks.
  const double l = cadre.width(), h = cadre.height();
  const double pr = parametres.profondeur / 100.0 * (l + h) / 4.0;
  const Projection proj(parametres, l, h, pr);
  const std::array<Point3, 8> coins = {Point3{0, 0, 0}, {l, 0, 0},  {l, h, 0},  {0, h, 0},
                                       {0, 0, pr},      {l, 0, pr}, {l, h, pr}, {0, h, pr}};
  double gauche = std::numeric_limits<double>::infinity(), haut = gauche;
  double droite = -gauche, bas = -gauche;
  for (const Point3& c : coins) {
    const QPointF q = proj(c);
    gauche = std::min(gauche, q.x());
    droite = std::max(droite, q.x());
    haut = std::min(haut, q.y());
    bas = std::max(bas, q.y());
  }
  const QRectF englobant(QPointF(gauche, haut), QPointF(droite, bas));
  const double echelle =
      std::min(cadre.width() / englobant.width(), cadre.height() / englobant.height()) *
      parametres.zoom / 100.0;
  const QPointF centre = cadre.center(), milieu = englobant.center();
  const auto ecran = [&](const Point3& q, double* profondeur = nullptr) {
    return centre + (proj(q, profondeur) - milieu) * echelle;
  };

  // The walls behind the series, with the grid.
  QVector<double> graduations_y, graduations_x;
  QVector<QString> libelles_y, libelles_x;
  if (axes) {
    const QString format_y = graphe_.yAxis->numberFormat();
    graphe_.yAxis->ticker()->generate(
        ry, graphe_.locale(), format_y.isEmpty() ? QLatin1Char('g') : format_y.at(0),
        graphe_.yAxis->numberPrecision(), graduations_y, nullptr, &libelles_y);
    const QString format_x = graphe_.xAxis->numberFormat();
    graphe_.xAxis->ticker()->generate(
        rx, graphe_.locale(), format_x.isEmpty() ? QLatin1Char('g') : format_x.at(0),
        graphe_.xAxis->numberPrecision(), graduations_x, nullptr, &libelles_x);
    struct Face {
      Point3 normale;
      std::array<int, 4> sommets;
    };
    const Face faces[] = {{{-1, 0, 0}, {0, 3, 7, 4}}, {{1, 0, 0}, {1, 2, 6, 5}},
                          {{0, -1, 0}, {0, 1, 5, 4}}, {{0, 1, 0}, {3, 2, 6, 7}},
                          {{0, 0, -1}, {0, 1, 2, 3}}, {{0, 0, 1}, {4, 5, 6, 7}}};
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPen grille(QColor(215, 215, 215), 0);
    for (const Face& f : faces) {
      if (!proj.face_arriere(f.normale)) continue;
      QPolygonF poly;
      for (int s : f.sommets) poly << ecran(coins[static_cast<std::size_t>(s)]);
      p.setPen(QPen(QColor(160, 160, 160), 0));
      p.setBrush(QColor(246, 246, 246));
      p.drawPolygon(poly);
      p.setPen(grille);
      if (f.normale.z != 0) {
        const double z = f.normale.z > 0 ? pr : 0;
        for (double t : graduations_y) {
          const double y = (t - ry.lower) / ry.size() * h;
          if (y >= 0 && y <= h) p.drawLine(ecran({0, y, z}), ecran({l, y, z}));
        }
      } else if (f.normale.y != 0) {
        const double y = f.normale.y > 0 ? h : 0;
        for (double t : graduations_x) {
          const double x = (t - rx.lower) / rx.size() * l;
          if (x >= 0 && x <= l) p.drawLine(ecran({x, y, 0}), ecran({x, y, pr}));
        }
      } else {
        const double x = f.normale.x > 0 ? l : 0;
        for (double t : graduations_y) {
          const double y = (t - ry.lower) / ry.size() * h;
          if (y >= 0 && y <= h) p.drawLine(ecran({x, y, 0}), ecran({x, y, pr}));
        }
      }
    }
  }

  // The ribbons, cut into facets drawn from the farthest to the nearest.
  const double tranche = pr / n;
  const int colonnes = std::max(2, static_cast<int>(l / 2));
  const double lx = -0.35, ly = 0.94;  // the light, from the upper left
  std::vector<Facette> facettes;
  for (int i = 0; i < n; ++i) {
    const CourbeTamso& g = *graphe_.courbe(i);
    const QColor couleur = g.pen().color();
    const QColor trait = couleur.darker(170);
    const double z0 = (i + 0.15) * tranche, z1 = (i + 0.85) * tranche;
    const std::vector<QPointF> pts = points_reduits(g, rx, colonnes);
    for (std::size_t j = 1; j < pts.size(); ++j) {
      const QPointF a = pts[j - 1], b = pts[j];
      if (!std::isfinite(a.y()) || !std::isfinite(b.y())) continue;
      const double xa = a.x() * l, xb = b.x() * l;
      const double ya = std::clamp((a.y() - ry.lower) / ry.size() * h, 0.0, h);
      const double yb = std::clamp((b.y() - ry.lower) / ry.size() * h, 0.0, h);
      Facette f;
      double p1 = 0, p2 = 0, p3 = 0, p4 = 0;
      f.coins = {ecran({xa, ya, z0}, &p1), ecran({xb, yb, z0}, &p2), ecran({xb, yb, z1}, &p3),
                 ecran({xa, ya, z1}, &p4)};
      f.profondeur = (p1 + p2 + p3 + p4) / 4;
      // The facet's normal is (dy, -dx, 0) up to its length.
      const double dx = xb - xa, dy = yb - ya, norme = std::hypot(dx, dy);
      const double eclairage = norme > 0 ? std::abs((dy * lx - dx * ly) / norme) : 0.0;
      f.fond = nuance(couleur, 0.72 + 0.28 * eclairage);
      f.trait = trait;
      facettes.push_back(f);
    }
  }
  std::sort(facettes.begin(), facettes.end(),
            [](const Facette& a, const Facette& b) { return a.profondeur > b.profondeur; });
  p.setRenderHint(QPainter::Antialiasing, facettes.size() < 6000);
  for (const Facette& f : facettes) {
    p.setPen(Qt::NoPen);
    p.setBrush(f.fond);
    p.drawConvexPolygon(f.coins.data(), 4);
    p.setPen(QPen(f.trait, 0));
    p.drawLine(f.coins[0], f.coins[1]);
    p.drawLine(f.coins[3], f.coins[2]);
  }

  // The values along the leftmost vertical edge of the box, the times along
  // the lower of its two bottom edges that run with time.
  p.setRenderHint(QPainter::Antialiasing, true);
  if (axes) {
    p.setPen(Qt::black);
    Point3 arete_y{0, 0, 0};
    double gauche_arete = std::numeric_limits<double>::infinity();
    for (const Point3& c : {Point3{0, 0, 0}, Point3{l, 0, 0}, Point3{0, 0, pr}, Point3{l, 0, pr}}) {
      const double x = (ecran(c).x() + ecran({c.x, h, c.z}).x()) / 2;
      if (x < gauche_arete) {
        gauche_arete = x;
        arete_y = c;
      }
    }
    const double z_temps = ecran({l / 2, 0, 0}).y() >= ecran({l / 2, 0, pr}).y() ? 0.0 : pr;
    for (qsizetype i = 0; i < graduations_y.size(); ++i) {
      const double y = (graduations_y[i] - ry.lower) / ry.size() * h;
      if (y < 0 || y > h) continue;
      const QPointF q = ecran({arete_y.x, y, arete_y.z});
      const QString& t = libelles_y[i];
      p.drawText(QPointF(q.x() - fm.horizontalAdvance(t) - 4, q.y() + fm.ascent() / 2 - 1), t);
    }
    for (qsizetype i = 0; i < graduations_x.size(); ++i) {
      const double x = (graduations_x[i] - rx.lower) / rx.size() * l;
      if (x < 0 || x > l) continue;
      const QPointF q = ecran({x, 0, z_temps});
      const QString& t = libelles_x[i];
      p.drawText(QPointF(q.x() - fm.horizontalAdvance(t) / 2, q.y() + fm.ascent() + 3), t);
    }
  }

  // The legend, top right.
  double largeur = 0;
  for (int i = 0; i < n; ++i)
    largeur = std::max(largeur, fm.horizontalAdvance(graphe_.courbe(i)->name()));
  const double ligne = fm.height() + 2;
  const QRectF legende(zone.right() - largeur - 40, zone.top() + 8, largeur + 32, ligne * n + 8);
  p.setPen(QPen(QColor(180, 180, 180), 0));
  p.setBrush(QColor(255, 255, 255, 210));
  p.drawRect(legende);
  for (int i = 0; i < n; ++i) {
    const CourbeTamso& g = *graphe_.courbe(i);
    const double y = legende.top() + 4 + i * ligne;
    p.setPen(QPen(g.pen().color().darker(170), 0));
    p.setBrush(g.pen().color());
    p.drawRect(QRectF(legende.left() + 6, y + 3, 14, ligne - 7));
    p.setPen(Qt::black);
    p.drawText(QPointF(legende.left() + 26, y + fm.ascent()), g.name());
  }
  p.restore();
}

}  // namespace tamso
