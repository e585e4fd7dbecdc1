#!/usr/bin/python3
"""Compares the play times of the audio files below a folder with the length ffmpeg decodes from them:
ks_durations (the time it writes, and the exact length it rounds where the container keeps one) beside
ffprobe, mediainfo, mutagen and TagLib (those that are installed; Debian packages ffmpeg, mediainfo,
python3-mutagen, python3-taglib).

The decoded lengths come from the lengths.tsv of each file's folder, as scripts/make-audio-corpus.sh
writes it, else from decoding each file with ffmpeg.

Usage: bench/audio/compare_durations.py FOLDER [path/to/ks_durations]
"""
import os
import re
import shutil
import subprocess
import sys

AUDIO = ('.mp3', '.mp2', '.mp1', '.mpga', '.flac', '.ogg', '.oga', '.opus', '.spx', '.m4a', '.m4b', '.m4r', '.mp4',
         '.wav', '.aif', '.aiff', '.aifc', '.wv', '.ape', '.mpc', '.tta', '.wma', '.asf')


def decoded_seconds(path):
    err = subprocess.run(['ffmpeg', '-hide_banner', '-nostdin', '-i', path, '-f', 'null', '-'],
                         capture_output=True, text=True).stderr
    times = re.findall(r'time=(\d+):(\d+):([\d.]+)', err)
    if not times:
        return None
    h, m, s = times[-1]
    return int(h) * 3600 + int(m) * 60 + float(s)


def run(args):
    out = subprocess.run(args, capture_output=True, text=True).stdout.strip()
    try:
        return float(out)
    except ValueError:
        return None


def tools(ks_durations, folder):
    ours, exact = {}, {}
    listing = subprocess.run([ks_durations, folder], capture_output=True, text=True)
    for line in listing.stdout.splitlines():
        path, ms, exact_ms, _ = line.split('\t')
        ours[path] = int(ms) / 1000
        exact[path] = None if exact_ms == '-' else float(exact_ms) / 1000
    found = [('ours', lambda p: ours.get(p)), ('ours exact', lambda p: exact.get(p))]
    if shutil.which('ffprobe'):
        found.append(('ffprobe', lambda p: run(['ffprobe', '-v', 'error', '-show_entries', 'format=duration',
                                                '-of', 'csv=p=0', p])))
    if shutil.which('mediainfo'):
        def mediainfo(p):
            ms = run(['mediainfo', '--Inform=Audio;%Duration%', p])
            return None if ms is None else ms / 1000
        found.append(('mediainfo', mediainfo))
    try:
        import mutagen
        import mutagen.mp3

        def mutagen_length(p):
            try:
                return (mutagen.mp3.MP3(p) if p.lower().endswith('.mp3') else mutagen.File(p)).info.length
            except Exception:
                return None
        found.append(('mutagen', mutagen_length))
    except ImportError:
        pass
    try:
        import taglib

        def taglib_length(p):
            try:
                return float(taglib.File(p).length)
            except Exception:
                return None
        found.append(('TagLib', taglib_length))
    except ImportError:
        pass
    return found


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    folder = sys.argv[1]
    here = os.path.dirname(os.path.abspath(__file__))
    ks_durations = sys.argv[2] if len(sys.argv) == 3 else os.path.join(here, '../../build/bench/audio/ks_durations')
    if not os.access(ks_durations, os.X_OK):
        sys.exit(f'ks_durations not found at {ks_durations} (give its path as the second argument)')

    files = sorted(os.path.join(d, f) for d, _, names in os.walk(folder) for f in names if f.lower().endswith(AUDIO))
    lengths = {}
    for d in sorted({os.path.dirname(f) for f in files}):
        table = os.path.join(d, 'lengths.tsv')
        if os.path.exists(table):
            with open(table) as t:
                for line in t:
                    name, ms = line.rstrip('\n').split('\t')
                    lengths[os.path.join(d, name)] = int(ms) / 1000
    columns = tools(ks_durations, folder)

    width = max(len(os.path.relpath(f, folder)) for f in files)
    print(f'{"file":<{width}} {"decoded":>8}' + ''.join(f' {name:>10}' for name, _ in columns))
    worst = {name: (0.0, '') for name, _ in columns}
    within = {name: 0 for name, _ in columns}
    none = {name: 0 for name, _ in columns}
    for path in files:
        decoded = lengths.get(path)
        if decoded is None:
            decoded = decoded_seconds(path)
        name = os.path.relpath(path, folder)
        cells = []
        for tool, length in columns:
            t = length(path)
            if t is None or decoded is None:
                cells.append(f' {"none":>10}')
                none[tool] += 1
                continue
            diff = t - decoded
            cells.append(f' {diff:>+9.3f}' + ('*' if abs(diff) > 1 else ' '))
            if abs(diff) <= 1:
                within[tool] += 1
            if abs(diff) > worst[tool][0]:
                worst[tool] = (abs(diff), name)
        print(f'{name:<{width}} {decoded if decoded is not None else float("nan"):>8.2f}' + ''.join(cells))

    print(f'\nDifferences in seconds from the decoded length; * marks one over 1 s, "none" no time given.')
    print(f'{len(files)} files')
    for tool, _ in columns:
        size, name = worst[tool]
        print(f'{tool:>10}: {within[tool]:3d} within 1 s, {none[tool]:2d} without a time, worst {size:.2f} s ({name})')


if __name__ == '__main__':
    main()
