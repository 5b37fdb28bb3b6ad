// A mouse down on an area (or within reach of its edges) takes it to move or
// resize it; anywhere else it starts a new one, drawn as a rubber band
// until released. Every change keeps the previous list for undo.
#include "desktop/page_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "records/catalogue.h"

namespace {

constexpr size_t kProfondeurHistorique = 100;

}  // namespace

ToilePage::ToilePage(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ToilePage::DonneImage(const QImage& image) {
    image_ = image;
    DonneZoom(zoom_);
}

void ToilePage::DonneAires(const std::vector<AireCommande>& aires) {
    aires_ = aires;
    historique_.clear();
    selection_ = -1;
    depart_.reset();
    deplacement_.reset();
    update();
}

void ToilePage::DonneCouleurAires(const QColor& couleur) {
    couleurAires_ = couleur;
    update();
}

void ToilePage::DonneZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.05, 8.0);
    const QSize taille = image_.isNull() ? QSize(0, 0) : image_.size() * zoom_;
    resize(taille);
    setMinimumSize(taille);
    update();
}

Point ToilePage::VersPage(const QPointF& fenetre) const {
    auto borne = [](double v) {
        return static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
    };
    return Point{borne(fenetre.y() / zoom_), borne(fenetre.x() / zoom_)};
}

QRectF ToilePage::VersFenetre(const Rect& r) const {
    return QRectF(r.left * zoom_, r.top * zoom_, (r.right - r.left) * zoom_,
                  (r.bottom - r.top) * zoom_);
}

void ToilePage::paintEvent(QPaintEvent* evenement) {
    QPainter peintre(this);
    peintre.fillRect(evenement->rect(), palette().color(QPalette::Dark));
    if (image_.isNull()) return;
    const QRectF cible = evenement->rect();
    const QRectF source(cible.x() / zoom_, cible.y() / zoom_, cible.width() / zoom_,
                        cible.height() / zoom_);
    peintre.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 1.0);
    peintre.drawImage(cible, image_, source);

    QColor remplissage = couleurAires_;
    remplissage.setAlpha(40);
    for (int i = 0; i < static_cast<int>(aires_.size()); ++i) {
        const AireCommande& a = aires_[i];
        const QRectF r = VersFenetre(a.Aire);
        peintre.fillRect(r, remplissage);
        peintre.setPen(QPen(couleurAires_, i == selection_ ? 3 : 1));
        peintre.drawRect(r);
        if (a.Commande == kAireSymbole)
            peintre.drawText(
                r.adjusted(3, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                QString::fromUtf8(NomCaractere(static_cast<uint16_t>(a.CommandeParam))));
    }
    if (depart_) {
        peintre.setPen(QPen(couleurAires_, 1, Qt::DashLine));
        peintre.drawRect(
            VersFenetre(NormaliseAire(depart_->v, depart_->h, courant_.v, courant_.h)));
    }
}

void ToilePage::MemoriseAvantChangement() {
    historique_.push_back(aires_);
    if (historique_.size() > kProfondeurHistorique) historique_.erase(historique_.begin());
}

void ToilePage::mousePressEvent(QMouseEvent* evenement) {
    if (evenement->button() != Qt::LeftButton || image_.isNull()) return;
    setFocus();
    const Point p = VersPage(evenement->position());
    const AireSouris sous = AireSousSouris(aires_, p);
    if (sous.index >= 0) {
        MemoriseAvantChangement();
        selection_ = sous.index;
        deplacement_.emplace(aires_, p);
    } else {
        selection_ = -1;
        depart_ = p;
        courant_ = p;
    }
    update();
}

void ToilePage::MetCurseur(const Point& p) {
    const AireSouris sous = AireSousSouris(aires_, p);
    if (sous.index < 0) {
        setCursor(Qt::CrossCursor);
    } else if (sous.bords == 0) {
        setCursor(Qt::SizeAllCursor);
    } else if ((sous.bords & (kBordGauche | kBordDroit)) && (sous.bords & (kBordHaut | kBordBas))) {
        const bool descendante =
            ((sous.bords & kBordGauche) != 0) == ((sous.bords & kBordHaut) != 0);
        setCursor(descendante ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    } else {
        setCursor(sous.bords & (kBordGauche | kBordDroit) ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    }
}

void ToilePage::mouseMoveEvent(QMouseEvent* evenement) {
    const Point p = VersPage(evenement->position());
    emit PositionSouris(p.h, p.v);
    if (deplacement_) {
        deplacement_->Suit(p);
        update();
    } else if (depart_) {
        courant_ = p;
        update();
    } else {
        MetCurseur(p);
    }
}

void ToilePage::mouseReleaseEvent(QMouseEvent* evenement) {
    if (evenement->button() != Qt::LeftButton) return;
    if (deplacement_) {
        deplacement_.reset();
        emit AiresModifiees();
    } else if (depart_) {
        const Point depart = *depart_;
        depart_.reset();
        MemoriseAvantChangement();
        selection_ = AjouteAireDessinee(aires_, depart, VersPage(evenement->position()), symbole_);
        if (selection_ < 0)
            historique_.pop_back();
        else
            emit AiresModifiees();
    }
    update();
}

void ToilePage::SupprimeSelection() {
    if (selection_ < 0 || selection_ >= static_cast<int>(aires_.size())) return;
    MemoriseAvantChangement();
    aires_.erase(aires_.begin() + selection_);
    selection_ = -1;
    update();
    emit AiresModifiees();
}

void ToilePage::Annule() {
    if (historique_.empty()) return;
    aires_ = historique_.back();
    historique_.pop_back();
    selection_ = -1;
    update();
    emit AiresModifiees();
}

void ToilePage::keyPressEvent(QKeyEvent* evenement) {
    if (evenement->key() == Qt::Key_Backspace || evenement->key() == Qt::Key_Delete) {
        SupprimeSelection();
        return;
    }
    if (evenement->key() == Qt::Key_Escape && depart_) {
        depart_.reset();
        update();
        return;
    }
    QWidget::keyPressEvent(evenement);
}

void ToilePage::wheelEvent(QWheelEvent* evenement) {
    if (!(evenement->modifiers() & Qt::ControlModifier)) {
        evenement->ignore();  // the scroll area scrolls
        return;
    }
    emit ZoomDemande(evenement->angleDelta().y() > 0 ? 1 : -1);
    evenement->accept();
}
