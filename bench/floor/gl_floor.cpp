// The least a program can spend on the viewer's pictures, on the same display
// and in a window of the same size:
//   gl_floor window              opens the window, shows one empty frame,
//                                says "gl_floor: first frame" on standard
//                                error and quits; timed from outside, from
//                                exec to that line.
//   gl_floor frame TRIANGLES VIEW
//                                draws the benchmark model of about TRIANGLES
//                                triangles, lit like the classic scene, from
//                                one display list per object in which each
//                                material's triangles are one GL_TRIANGLES
//                                run: once, then once for each empty line
//                                on standard input, as frame_requests says.
// VIEW is a picture the viewer shows of the model: `classic`, the classic
// scene's first frame, every object drawn where its body starts, or
// `framed`, model mode's camera on the whole model at rest, where the
// model was modelled.
// What the renderer spends depends on it: triangles out of sight are cut
// away early, and every triangle in sight costs its set-up however small.
#include <GL/glut.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/view_state.h"
#include "bench/floor/bench_mesh.h"
#include "bench/frame/frame_requests.h"

namespace {

constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 600;
// The classic scene draws each object at its body's place, and every body
// starts this high.
constexpr double CLASSIC_START_HEIGHT = 150.0;

enum class View { Classic, Framed };

void openWindow(int* argc, char** argv);
void showEmptyFrame();
bool readView(const char* text, View& view);
void drawFrames(int64_t triangles, View view);
void setUpScene(const std::vector<BenchObjectMesh>& meshes, View view);
GLuint compileObject(const BenchObjectMesh& mesh);
void applyBenchMaterial(int material);
void drawFrame(const std::vector<GLuint>& lists);

}  // namespace

int main(int argc, char** argv) {
    openWindow(&argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "window") == 0) {
        glutDisplayFunc(showEmptyFrame);
        glutMainLoop();
    }
    const int64_t triangles = argc == 4 ? readTriangleCount(argv[2]) : 0;
    View view = View::Classic;
    if (argc != 4 || std::strcmp(argv[1], "frame") != 0 || triangles == 0 || !readView(argv[3], view)) {
        std::fputs("usage: gl_floor window | gl_floor frame TRIANGLES classic|framed\n", stderr);
        return 2;
    }
    drawFrames(triangles, view);
    return 0;
}

namespace {

void openWindow(int* argc, char** argv) {
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(WINDOW_WIDTH, WINDOW_HEIGHT);
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("gl_floor");
}

void showEmptyFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    glFinish();
    std::fputs("gl_floor: first frame\n", stderr);
    std::exit(0);
}

bool readView(const char* text, View& view) {
    if (std::strcmp(text, "classic") == 0)
        view = View::Classic;
    else if (std::strcmp(text, "framed") == 0)
        view = View::Framed;
    else
        return false;
    return true;
}

void drawFrames(int64_t triangles, View view) {
    std::vector<GLuint> lists;
    {
        const std::vector<BenchObjectMesh> meshes = makeBenchMeshes(triangles);
        for (const BenchObjectMesh& mesh : meshes) lists.push_back(compileObject(mesh));
        setUpScene(meshes, view);
    }
    drawFrame(lists);
    answerRequests("gl_floor", [&] { drawFrame(lists); });
}

// The viewer's camera for `view`, depth test and three lights: one far away
// and two near ones, white, grey and grey.
void setUpScene(const std::vector<BenchObjectMesh>& meshes, View view) {
    ViewState camera;
    if (view == View::Framed) {
        double low[3] = {1e30, 1e30, 1e30}, high[3] = {-1e30, -1e30, -1e30};
        for (const BenchObjectMesh& mesh : meshes) {
            for (size_t k = 0; k < mesh.vertices.size(); ++k) {
                low[k % 3] = std::min<double>(low[k % 3], mesh.vertices[k]);
                high[k % 3] = std::max<double>(high[k % 3], mesh.vertices[k]);
            }
        }
        // The benchmark model saves the modeller's starting view.
        frameView(camera, {low[0], low[1], low[2]}, {high[0], high[1], high[2]}, DEFAULT_VIEW_DIRECTION);
    }
    glViewport(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(30.0, static_cast<double>(WINDOW_WIDTH) / WINDOW_HEIGHT, camera.nearPlane, camera.farPlane);
    glMatrixMode(GL_MODELVIEW);
    gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z, camera.center.x, camera.center.y, camera.center.z, camera.up.x,
              camera.up.y, camera.up.z);
    if (view == View::Classic) glTranslated(0.0, CLASSIC_START_HEIGHT, 0.0);
    const GLfloat grey[] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat positions[3][4] = {
        {50.0f, 200.0f, 200.0f, 0.0f}, {-50.0f, 0.0f, -150.0f, 1.0f}, {0.0f, -150.0f, -50.0f, 1.0f}};
    for (int k = 0; k < 3; ++k) {
        const GLenum light = GL_LIGHT0 + k;
        glLightfv(light, GL_POSITION, positions[k]);
        glLightfv(light, GL_DIFFUSE, grey);
        if (k > 0) glLightfv(light, GL_SPECULAR, grey);
        glEnable(light);
    }
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

GLuint compileObject(const BenchObjectMesh& mesh) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    for (int material = 0; material < BENCH_MATERIALS; ++material) {
        // NOTE: an empty GL_TRIANGLES run costs a fifth of the frame under
        // Mesa's software renderer: a material with no triangles gets none.
        if (std::find(mesh.materials.begin(), mesh.materials.end(), material) == mesh.materials.end()) continue;
        applyBenchMaterial(material);
        glBegin(GL_TRIANGLES);
        for (size_t t = 0; t < mesh.materials.size(); ++t) {
            if (mesh.materials[t] != material) continue;
            for (size_t k = 3 * t; k < 3 * t + 3; ++k)
                glVertex3fv(&mesh.vertices[3 * static_cast<size_t>(mesh.triangles[k])]);
        }
        glEnd();
    }
    glEndList();
    return list;
}

void applyBenchMaterial(int material) {
    GLfloat ambient[4], diffuse[4];
    for (int c = 0; c < 3; ++c) {
        ambient[c] = BENCH_MATERIAL_COLOURS[material][c] * BENCH_AMBIENT;
        diffuse[c] = BENCH_MATERIAL_COLOURS[material][c] * BENCH_DIFFUSE;
    }
    ambient[3] = BENCH_AMBIENT;
    diffuse[3] = BENCH_DIFFUSE;
    const GLfloat none[] = {0.0f, 0.0f, 0.0f, 0.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, BENCH_POWER);
}

// Drawn, shown, and finished, so that the software renderer has really
// drawn it when the clock stops.
void drawFrame(const std::vector<GLuint>& lists) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (GLuint list : lists) glCallList(list);
    glutSwapBuffers();
    glFinish();
}

}  // namespace
