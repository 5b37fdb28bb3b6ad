// The page view while recognition runs. The engine tells its page view when
// it has read a staff; this view then draws the page as it stands, on the
// worker thread, and hands the picture on. So a long page fills in staff by
// staff rather than all at once at the end.
//
// Drawing the whole page costs tens of milliseconds, so a picture is made at
// most once per interval; the page's final picture comes from the caller as
// before. The view is installed for the length of one job (`VueEnCoursInstallee`)
// and only ever called on the worker thread that runs it.
#pragma once

#include <chrono>
#include <functional>

#include "desktop/page_view_job.h"
#include "toolbox/page_view.h"

class VueEnCours : public VuePage {
  public:
    using Envoi = std::function<void(const VueCalculee&)>;
    VueEnCours(Envoi envoi, std::chrono::milliseconds intervalle)
        : envoi_(std::move(envoi)), intervalle_(intervalle) {}

    void DessineSymbolesPortee(int indexPortee) override;

  private:
    Envoi envoi_;
    std::chrono::milliseconds intervalle_;
    std::chrono::steady_clock::time_point derniere_{};
};

// Makes `vue` the engine's page view until the end of the scope.
class VueEnCoursInstallee {
  public:
    explicit VueEnCoursInstallee(VueEnCours& vue) { DefinitVuePage(&vue); }
    ~VueEnCoursInstallee() { DefinitVuePage(nullptr); }
    VueEnCoursInstallee(const VueEnCoursInstallee&) = delete;
    VueEnCoursInstallee& operator=(const VueEnCoursInstallee&) = delete;
};
