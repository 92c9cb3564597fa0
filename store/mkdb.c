/* Makes an empty data file from the schema, only when none exists at the target path:
 * a build must never overwrite a shop's data. The file is built under a temporary name
 * and renamed into place, so an interrupted build leaves no half-made data file. */
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static char* readAll(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f)
        return NULL;
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    fseek(f, 0, SEEK_SET);
    char* text = malloc((size_t)size + 1);
    if (text && fread(text, 1, (size_t)size, f) != (size_t)size) {
        free(text);
        text = NULL;
    }
    if (text)
        text[size] = 0;
    fclose(f);
    return text;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s schema.sql data.db\n", argv[0]);
        return 2;
    }
    if (access(argv[2], F_OK) == 0)
        return 0;
    char* schema = readAll(argv[1]);
    if (!schema) {
        fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    size_t len = strlen(argv[2]);
    char* temp = malloc(len + 5);
    memcpy(temp, argv[2], len);
    memcpy(temp + len, ".new", 5);
    unlink(temp);
    sqlite3* db = NULL;
    char* error = NULL;
    int rc = sqlite3_open(temp, &db);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, schema, NULL, NULL, &error);
    if (rc != SQLITE_OK)
        fprintf(stderr, "cannot make %s: %s\n", argv[2], error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    sqlite3_close(db);
    free(schema);
    if (rc == SQLITE_OK && rename(temp, argv[2]) != 0) {
        perror("rename");
        rc = SQLITE_ERROR;
    }
    if (rc != SQLITE_OK)
        unlink(temp);
    free(temp);
    return rc == SQLITE_OK ? 0 : 1;
}
