// The page view's drawing surface: the page as the engine draws it (the page
// in light gray with what recognition made of it), scaled to the zoom, and
// over it the page's command areas, which the user draws, moves, resizes,
// deletes and undoes with the mouse and keyboard. It edits a working copy
// of the areas and says when they change; it never touches the engine.
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>
#include <vector>

#include "desktop/area_mouse.h"

class ToilePage : public QWidget {
    Q_OBJECT
  public:
    explicit ToilePage(QWidget* parent = nullptr);

    void DonneImage(const QImage& image);
    const QImage& Image() const { return image_; }
    void DonneAires(const std::vector<AireCommande>& aires);
    const std::vector<AireCommande>& Aires() const { return aires_; }
    void DonneCouleurAires(const QColor& couleur);

    // Window pixels per page pixel.
    double Zoom() const { return zoom_; }
    void DonneZoom(double zoom);

    // The symbol new areas force; 0 draws erase areas.
    void DonneSymbole(uint16_t code) { symbole_ = code; }
    int Selection() const { return selection_; }

    bool PeutAnnuler() const { return !historique_.empty(); }
    void Annule();
    void SupprimeSelection();

    // Page pixel under a window point of this widget.
    Point VersPage(const QPointF& fenetre) const;
    QRectF VersFenetre(const Rect& page) const;

  signals:
    void AiresModifiees();
    void PositionSouris(int x, int y);
    void ZoomDemande(int pas);  // ctrl-wheel: +1 in, -1 out
    void FichiersDeposes(const QStringList& chemins);

  protected:
    void paintEvent(QPaintEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;
    void mouseMoveEvent(QMouseEvent* evenement) override;
    void mouseReleaseEvent(QMouseEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;
    void wheelEvent(QWheelEvent* evenement) override;

  private:
    void MemoriseAvantChangement();
    void MetCurseur(const Point& page);

    QImage image_;
    std::vector<AireCommande> aires_;
    std::vector<std::vector<AireCommande>> historique_;
    QColor couleurAires_{Qt::blue};
    double zoom_ = 0.25;
    uint16_t symbole_ = 0;
    int selection_ = -1;
    // The gesture in progress: a new area from `depart_`, or a move.
    std::optional<Point> depart_;
    Point courant_{};
    std::optional<DeplacementAire> deplacement_;
};
