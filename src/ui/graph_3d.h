// The 3D view of a chart, drawn with QPainter from the chart's own series
// and ranges: each series is a ribbon standing in its own slice of depth, the
// first series in front, inside a box whose far walls carry the grid. The
// orthogonal view is an oblique projection (the depth goes up and to the
// right); the free view turns the box by its rotation and elevation and sees
// it in a mild perspective.
#pragma once

#include <QWidget>

namespace tamso {

class GrapheTamso;

struct Parametres3D {
  int profondeur = 30;  // percent of the chart's size
  int rotation = 360;   // 180..360; 360 is the starting view
  int zoom = 100;       // percent
  int elevation = 360;  // 180..360; 360 is the starting view
  bool orthogonal = true;
};

class Vue3D : public QWidget {
  Q_OBJECT
 public:
  Vue3D(GrapheTamso& graphe, QWidget* parent);

  Parametres3D parametres;
  // The box, its grid and its labels ("abscisses, axes").
  bool axes = true;

  // Draws the view into the zone (the widget, a picture or a document).
  void dessiner(QPainter& p, const QRectF& zone) const;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  GrapheTamso& graphe_;
};

}  // namespace tamso
