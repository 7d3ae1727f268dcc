"""Packs the rasterised skin into the flat archive the installer carries: the
four largest images deflated, the small ones stored (they are PNGs already)."""
import os
import sys
import zipfile

DEFLATED_COUNT = 4


def main():
    archive, images = sys.argv[1], sorted(sys.argv[2:])
    largest = set(sorted(images, key=os.path.getsize, reverse=True)[:DEFLATED_COUNT])
    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w") as out:
        for image in images:
            method = zipfile.ZIP_DEFLATED if image in largest else zipfile.ZIP_STORED
            out.write(image, os.path.basename(image), compress_type=method, compresslevel=9)
    os.replace(partial, archive)


if __name__ == "__main__":
    main()
