#include "toolkit/core/CScrollVertical.h"

#include "toolkit/core/PaintManager.h"

unsigned CScrollVertical::ImageResource() const { return m_manager ? m_manager->GetScrollVID() : 102; }
