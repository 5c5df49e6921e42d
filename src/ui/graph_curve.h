// One series of a chart, drawn straight from its points: the abscissae are
// shared by every series of a drawing and never copied, and where the
// points shown outnumber the pixels across, each pixel column is drawn as
// the span of its values (lowest to highest), joined to the next column, so
// that a year of one-minute data draws as fast as a day and no spike is
// lost. Markers are drawn only where the points shown are fewer than the
// pixels across.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <qcustomplot.h>

#include "app/graphs.h"

namespace tamso {

class CourbeTamso : public QCPAbstractPlottable {
  Q_OBJECT
 public:
  CourbeTamso(QCPAxis* cles, QCPAxis* valeurs);

  // The points: point i has the key x[i] * echelle + decalage (the keys
  // rising with i) and the value y[i], NaN where the line is broken; the
  // summaries of their blocks (worked out here when not given).
  void fixer_points(std::shared_ptr<const PointsGraphique> x, PointsGraphique y,
                    std::vector<BlocPoints> blocs, double echelle, double decalage);
  std::size_t taille() const { return y_.size(); }
  double cle(std::size_t i) const { return (*x_)[i] * echelle_ + decalage_; }
  double valeur(std::size_t i) const { return y_[i]; }
  // The points whose keys lie between bas and haut: [first, last).
  std::pair<std::size_t, std::size_t> indices(double bas, double haut) const;

  // The markers drawn on sparse points (none by default).
  void fixer_marqueurs(const QCPScatterStyle& style) { marqueurs_ = style; }
  const QCPScatterStyle& marqueurs() const { return marqueurs_; }
  // Whether the markers show at the current range and size.
  bool marqueurs_dessines() const;
  // How far around a point the drawing reaches, in pixels.
  double rayon_point() const { return marqueurs_.isNone() ? 0.0 : marqueurs_.size() / 2; }

  // Not selectable: the chart picks points itself.
  double selectTest(const QPointF&, bool, QVariant*) const override { return -1; }
  QCPRange getKeyRange(bool& trouve, QCP::SignDomain domaine = QCP::sdBoth) const override;
  QCPRange getValueRange(bool& trouve, QCP::SignDomain domaine = QCP::sdBoth,
                         const QCPRange& cles = QCPRange()) const override;

 protected:
  void draw(QCPPainter* painter) override;
  void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

 private:
  // The points shown at the current key range, one more on each side so
  // that the line runs to the edges.
  std::pair<std::size_t, std::size_t> indices_visibles() const;
  // Whether markers are drawn when this many points are shown.
  bool marqueurs_pour(std::size_t points) const;
  void tracer_points(QCPPainter* painter, std::size_t debut, std::size_t fin) const;
  void tracer_enveloppe(QCPPainter* painter, std::size_t debut, std::size_t fin) const;

  std::shared_ptr<const PointsGraphique> x_ = std::make_shared<PointsGraphique>();
  PointsGraphique y_;
  std::vector<BlocPoints> blocs_;
  double echelle_ = 1.0, decalage_ = 0.0;
  double y_min_ = 0.0, y_max_ = 0.0;
  bool valeurs_ = false;  // at least one value that is not NaN
  QCPScatterStyle marqueurs_;
};

}  // namespace tamso
