// Plays tones through the default sound output, one after the other, while
// the window goes on: a call only queues its tones. A tone the output cannot
// play (no sound device, a format it refuses, an error while opening) is
// skipped without a word.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include <QObject>

#include "base/tones.h"

class QAudioSink;
class QBuffer;
class QTimer;

namespace tamso {

class JoueurTonalites : public QObject {
  Q_OBJECT
 public:
  explicit JoueurTonalites(QObject* parent = nullptr);
  ~JoueurTonalites() override;

  void jouer(const std::vector<Tonalite>& tonalites);
  // True while a tone plays or waits.
  bool en_cours() const { return sortie_ != nullptr || !file_.empty(); }
  // Tones played to their end, and tones skipped, since the player was made.
  int jouees() const { return jouees_; }
  int sautees() const { return sautees_; }

 signals:
  void termine();

 private:
  void suivante();
  // The tone in play ends; `enchainer`: the next one starts from the event loop.
  void finir_tonalite(bool jouee, bool enchainer = true);

  std::deque<Tonalite> file_;
  QAudioSink* sortie_ = nullptr;
  QBuffer* tampon_ = nullptr;
  QTimer* garde_ = nullptr;
  int jouees_ = 0;
  int sautees_ = 0;
};

}  // namespace tamso
