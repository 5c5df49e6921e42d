#include "ui/tone_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QMediaDevices>
#include <QTimer>

namespace tamso {

JoueurTonalites::JoueurTonalites(QObject* parent) : QObject(parent) {
  garde_ = new QTimer(this);
  garde_->setSingleShot(true);
  // A device that never says it has finished does not hold the next tones.
  connect(garde_, &QTimer::timeout, this, [this] { finir_tonalite(true); });
}

JoueurTonalites::~JoueurTonalites() {
  if (sortie_) sortie_->stop();
}

void JoueurTonalites::jouer(const std::vector<Tonalite>& tonalites) {
  const bool libre = !en_cours();
  file_.insert(file_.end(), tonalites.begin(), tonalites.end());
  // The first tone starts from the event loop: the caller goes on at once.
  if (libre && !file_.empty()) QTimer::singleShot(0, this, &JoueurTonalites::suivante);
}

void JoueurTonalites::suivante() {
  while (!sortie_ && !file_.empty()) {
    const Tonalite t = file_.front();
    file_.pop_front();
    const QAudioDevice appareil = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(kEchantillonsParSeconde);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int32);
    if (appareil.isNull() || !appareil.isFormatSupported(format)) {
      ++sautees_;
      continue;
    }
    const std::vector<std::int32_t> e = echantillons_tonalite(t);
    if (e.empty()) {
      ++sautees_;
      continue;
    }
    tampon_ = new QBuffer(this);
    tampon_->setData(QByteArray(reinterpret_cast<const char*>(e.data()),
                                static_cast<qsizetype>(e.size() * sizeof(std::int32_t))));
    tampon_->open(QIODevice::ReadOnly);
    sortie_ = new QAudioSink(appareil, format, this);
    connect(sortie_, &QAudioSink::stateChanged, this, [this](QAudio::State etat) {
      if (etat == QAudio::IdleState)
        finir_tonalite(true);
      else if (etat == QAudio::StoppedState && sortie_ && sortie_->error() != QAudio::NoError)
        finir_tonalite(false);
    });
    sortie_->start(tampon_);
    if (sortie_ && sortie_->error() != QAudio::NoError) {
      finir_tonalite(false, false);
      continue;
    }
    garde_->start(t.duree_ms + 500);
  }
  if (!sortie_ && file_.empty()) emit termine();
}

void JoueurTonalites::finir_tonalite(bool jouee, bool enchainer) {
  if (!sortie_) return;
  garde_->stop();
  QAudioSink* sortie = sortie_;
  QBuffer* tampon = tampon_;
  sortie_ = nullptr;
  tampon_ = nullptr;
  sortie->disconnect(this);
  sortie->stop();
  sortie->deleteLater();
  tampon->deleteLater();
  if (jouee)
    ++jouees_;
  else
    ++sautees_;
  if (enchainer) QTimer::singleShot(0, this, &JoueurTonalites::suivante);
}

}  // namespace tamso
