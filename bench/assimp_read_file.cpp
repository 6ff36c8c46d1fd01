// The peer of `pavrix --info` in bench_open_process: a bare program that reads one file with
// Assimp's importer (no post-processing) and exits, 0 when the file was read.

#include <cstdio>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: assimp_read_file FILE\n");
        return 2;
    }
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(argv[1], 0);
    if (!scene) {
        std::fprintf(stderr, "%s\n", importer.GetErrorString());
        return 1;
    }
    std::printf("%u meshes\n", scene->mNumMeshes);
    return 0;
}
