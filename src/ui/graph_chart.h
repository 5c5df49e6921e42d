// One chart of the graph window: a QCustomPlot whose mouse follows the
// window's rules (a rectangle dragged down and right zooms, animated; one
// dragged upwards or to the left, or a double click, restores the whole
// chart; the right button pans; a click picks the nearest point), with the
// values written beside the points when asked.
#pragma once

#include <optional>

#include <QPoint>
#include <QVariantAnimation>
#include <qcustomplot.h>

class QRubberBand;

namespace tamso {

class CourbeTamso;
class EtiquettesValeurs;

// The drawn point nearest to a click.
struct PointGraphe {
  int serie = 0;  // series index
  double cle = 0, valeur = 0;
};

class GrapheTamso : public QCustomPlot {
  Q_OBJECT
 public:
  explicit GrapheTamso(QWidget* parent);

  // The chart's series, in their order.
  int nb_courbes() const { return plottableCount(); }
  CourbeTamso* courbe(int i) const;
  CourbeTamso* ajouter_courbe();
  void effacer_courbes() { clearPlottables(); }

  // The whole chart, where a restore goes back to (set at each drawing).
  void fixer_plages_completes(const QCPRange& x, const QCPRange& y);
  QCPRange plage_complete_x() const { return complete_x_; }
  QCPRange plage_complete_y() const { return complete_y_; }
  // Moves both axes to these ranges in 32 animated steps.
  void zoomer_vers(const QCPRange& x, const QCPRange& y);
  void restaurer() { zoomer_vers(complete_x_, complete_y_); }
  bool animation_en_cours() const { return animation_.state() == QAbstractAnimation::Running; }
  // The nearest drawn point within a few pixels of pos, if any.
  std::optional<PointGraphe> point_proche(const QPointF& pos) const;
  // Each notch forward moves both ends of the vertical axis inward by 10 % of
  // the range, each notch backward outward.
  void zoom_vertical(int crans);
  // The values written beside the points (decimal separator given).
  void fixer_etiquettes_valeurs(bool oui, QChar separateur);
  // A time axis (keys in seconds from 1 January 1970, read as UTC so that
  // no clock change moves them) labelled in the format, with at least
  // `pas_minimal` seconds between two labels: a date-only axis does not label
  // the same day twice. Or a plain numeric axis.
  void fixer_axe_temps(const QString& format, double pas_minimal);
  void fixer_axe_numerique();

 signals:
  // A left click that did not drag, at pos (the chart's coordinates).
  void clic(QPoint pos);
  void souris_deplacee(QPoint pos);
  void clic_droit();
  // Wheel notches over the chart (forward positive), for the window.
  void molette(QPoint pos, int crans);
  // The ranges changed (zoom, pan, restore).
  void plages_changees();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  void ajuster_graduations();

  QCPRange complete_x_{0, 1}, complete_y_{0, 1};
  QVariantAnimation animation_;
  QCPRange depart_x_, depart_y_, cible_x_, cible_y_;
  QRubberBand* rectangle_ = nullptr;
  QPoint origine_;
  bool gauche_ = false, droite_ = false, deplace_ = false;
  QCPRange glisse_x_, glisse_y_;
  EtiquettesValeurs* etiquettes_ = nullptr;
};

}  // namespace tamso
