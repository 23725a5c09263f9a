// Loads a model file into the tables and reports the time and the peak
// memory, beside the same figures for reading the document alone, so that
// the cost of filling the tables shows on its own.
// Usage: loading_bench MODEL_FILE
#include <cstdio>
#include <string_view>

#include "measure.h"
#include "model/loaded_model.h"

namespace {

size_t documentBytes(const ModelData& data);
void measureReadOnly(const char* path);
void measureLoad(const char* path);

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: loading_bench MODEL_FILE\n");
        return 2;
    }
    printf("process at start: %ld KiB\n", peakMemoryKib());
    bool measured = inChildProcess([&] { measureReadOnly(argv[1]); }) && inChildProcess([&] { measureLoad(argv[1]); });
    return measured ? 0 : 1;
}

namespace {

// What the document's geometry holds, counted by the lists' capacity.
size_t documentBytes(const ModelData& data) {
    size_t bytes = data.objects.size() * sizeof(ObjectRecord);
    for (const ObjectRecord& object : data.objects)
        bytes += object.vertices.capacity() * sizeof(VertexRecord) + object.faces.capacity() * sizeof(FaceRecord);
    return bytes;
}

void measureReadOnly(const char* path) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        fprintf(stderr, "loading_bench: [%s] cannot be opened\n", path);
        _exit(1);
    }
    double start = secondsNow();
    ModelDocument document(ModelData{}, file);
    int32_t result = document.parse();
    double seconds = secondsNow() - start;
    fclose(file);
    size_t faces = 0;
    for (const ObjectRecord& object : document.data().objects) faces += object.faces.size();
    printf(
        "read document only: result %d, %d objects, %zu faces, %.2f s, peak %ld KiB, "
        "document %.1f MiB\n",
        result, document.objectCount(), faces, seconds, peakMemoryKib(), documentBytes(document.data()) / 1048576.0);
}

void measureLoad(const char* path) {
    double start = secondsNow();
    loadModel(path);
    double seconds = secondsNow() - start;
    double documentMib = documentBytes(currentDocument->data()) / 1048576.0;
    double peakMib = peakMemoryKib() / 1024.0;
    printf("loadModel into the tables: %d objects, %.2f s, peak %.1f MiB = %.2f x document\n", loadedObjectCount(),
           seconds, peakMib, peakMib / documentMib);
    releaseModel();
}

}  // namespace
