#include "render/lights.h"

#include <GL/gl.h>

float light0Position[4] = {50.0f, 200.0f, 200.0f, 0.0f};
float light1Position[4] = {-50.0f, 0.0f, -150.0f, 1.0f};
float light2Position[4] = {0.0f, -150.0f, -50.0f, 1.0f};

void setupLights() {
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat grey[] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat startDiffuse[] = {0.1f, 0.8f, 0.8f, 1.0f};
    const GLfloat startSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat startShininess = 50.0f;

    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_POSITION, light0Position);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);
    // Lights 1 and 2 keep OpenGL's black ambient; light 0 its white specular.
    glLightfv(GL_LIGHT1, GL_DIFFUSE, grey);
    glLightfv(GL_LIGHT1, GL_SPECULAR, grey);
    glLightfv(GL_LIGHT2, GL_DIFFUSE, grey);
    glLightfv(GL_LIGHT2, GL_SPECULAR, grey);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, startDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, startSpecular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &startShininess);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHT2);
}
