#include "view/UopenglSelect.h"

#include <GL/gl.h>

void TFSelWindow::Tracer(int largeur, int hauteur, double ratio) const {
    const TBandeSelection& b = bande_;
    if (!b.Visible || (b.modeaffi != 0 && b.modeaffi != 1)) return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // View pixels, y downwards; a pixel's centre at its index + 0.5.
    glOrtho(0, largeur, hauteur, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(0.5, 0.5, 0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glLineWidth(static_cast<float>(ratio));
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(3, 0x3F3F); // dashes of 18 pixels, gaps of 6
    glColor3ub(255, 0, 0);
    if (b.modeaffi == 0) {
        // One pixel inside the rectangle.
        glBegin(GL_LINE_STRIP);
        glVertex2i(b.g + 1, b.h + 1);
        glVertex2i(b.d - 1, b.h + 1);
        glVertex2i(b.d - 1, b.b - 1);
        glVertex2i(b.g + 1, b.b - 1);
        glVertex2i(b.g + 1, b.h + 1);
        glEnd();
    } else {
        glBegin(GL_LINES);
        glVertex2i(b.p1sel.X, b.p1sel.Y);
        glVertex2i(b.p2sel.X, b.p2sel.Y);
        glEnd();
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
