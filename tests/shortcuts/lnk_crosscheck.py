#!/usr/bin/env python3
"""Cross-checks TPBShellLink against Debian's lnkinfo, an independent .lnk reader.

  lnk_crosscheck.py fixtures --probe LinkProbe.exe --root SRC
      makes the fixture shortcuts in the prefix and compares each Target with lnkinfo's
      local path.
  lnk_crosscheck.py corpus --probe LinkProbe.exe --root SRC --corpus DIR --known FILE
      loads every real-world shortcut (none may crash or hang), compares the targets,
      then scans a Desktop filled with the corpus and compares the orphans listed with
      the set derived from lnkinfo.
"""
import argparse
import os
import pwd
import re
import shutil
import subprocess
import sys

FIXED_DRIVES = {"C:": "drive_c", "D:": "drive_d"}


def prefix_dir(root):
    return os.environ.get("BS_WINEPREFIX") or os.path.join(root, "build", "wine")


def from_probe(text):
    """The probe writes a character outside ASCII, and "&", as "&#N;" per UTF-16 unit."""
    units = re.sub(r"&#(\d+);", lambda m: chr(int(m.group(1))), text)
    return units.encode("utf-16-le", "surrogatepass").decode("utf-16-le", "replace")


def run_probe(root, probe, *args, timeout=600):
    cmd = [os.path.join(root, "tools", "wine-exec"), probe, *args]
    out = subprocess.run(cmd, capture_output=True, timeout=timeout)
    text = from_probe(out.stdout.decode("latin-1")).replace("\r\n", "\n")
    if out.returncode != 0:
        sys.exit("probe %s failed (%d):\n%s%s" % (args, out.returncode, text,
                                                  out.stderr.decode("latin-1")))
    return [line for line in text.split("\n") if line]


def lnkinfo_local_path(host_path):
    """The "Local path" lnkinfo reads, or None (no local path, or not a shell link)."""
    out = subprocess.run(["lnkinfo", host_path], capture_output=True)
    if out.returncode != 0:
        return None
    for line in out.stdout.decode("utf-8", "replace").split("\n"):
        m = re.match(r"\s*Local path\s*:\s?(.*)$", line)
        if m:
            return m.group(1)
    return None


def host_path(drive_c_parent, win_path):
    """The host file behind a Windows path of the prefix, matched without regard to case
    as Wine does; None when it does not exist or lies on no fixed drive."""
    drive = win_path[:2].upper()
    if drive not in FIXED_DRIVES:
        return None
    current = os.path.join(drive_c_parent, FIXED_DRIVES[drive])
    for part in [p for p in win_path[2:].split("\\") if p]:
        try:
            names = os.listdir(current)
        except OSError:
            return None
        match = [n for n in names if n.lower() == part.lower()]
        if not match:
            return None
        current = os.path.join(current, match[0])
    return current


def give_to_wine_user(path):
    if os.getuid() != 0:
        return
    user = os.environ.get("BS_USER", "bstest")
    ids = pwd.getpwnam(user)
    for base, dirs, files in os.walk(path):
        for name in [base] + [os.path.join(base, n) for n in dirs + files]:
            os.chown(name, ids.pw_uid, ids.pw_gid)


def windows_to_host_in(prefix, win_path):
    return host_path(prefix, win_path)


def read_targets(args, win_folder):
    """{windows path: Target or None when the load failed} for every .lnk below."""
    targets = {}
    for line in run_probe(args.root, args.probe, "targets", win_folder):
        path, _, target = line.partition("\t")
        targets[path] = None if target.startswith("!") else target
    return targets


def compare(targets, prefix, known):
    """Lists (path, lnkinfo, Target) where they disagree and the disagreement is not known."""
    bad = []
    for path, target in sorted(targets.items()):
        expected = lnkinfo_local_path(windows_to_host_in(prefix, path))
        relative = path.split("\\lnk-corpus\\", 1)[-1]
        agree = (target == expected) if expected is not None else target in (None, "")
        if not agree and relative not in known:
            bad.append((relative, expected, target))
    return bad


def fixtures(args):
    prefix = prefix_dir(args.root)
    win_folder = "C:\\t\\work\\lnkcheck-%d" % os.getpid()
    host = os.path.join(prefix, "drive_c", "t", "work", "lnkcheck-%d" % os.getpid())
    try:
        run_probe(args.root, args.probe, "make", win_folder)
        targets = read_targets(args, win_folder)
        names = sorted(p.rsplit("\\", 1)[1] for p in targets)
        wanted = sorted(["cdrom.lnk", "corrupt.lnk", "deleted program.lnk", "existing file.lnk",
                         "existing folder.lnk", "hot key.lnk", "my computer.lnk",
                         "network.lnk", "removable.lnk", "unc.lnk", "UPPER.LNK"])
        if names != wanted:
            sys.exit("fixtures made: %s" % names)
        if targets[win_folder + "\\corrupt.lnk"] is not None:
            sys.exit("the corrupt shortcut loaded")
        bad = compare(targets, prefix, set())
        for relative, expected, target in bad:
            print("DISAGREE %s: lnkinfo %r, Target %r" % (relative, expected, target))
        if bad:
            sys.exit(1)
        print("%d fixtures agree with lnkinfo" % len(targets))
    finally:
        shutil.rmtree(host, ignore_errors=True)


def load_known(path):
    known = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line and not line.startswith("#"):
                name, _, reason = line.partition("\t")
                known[name] = reason
    return known


def corpus(args):
    if not args.corpus or not os.path.isfile(os.path.join(args.corpus, "README.md")):
        sys.exit("the shortcut corpus was not found beside the checkout: %r" % args.corpus)
    prefix = prefix_dir(args.root)
    known = load_known(args.known)
    desktop = run_probe(args.root, args.probe, "desktop")[0]
    desktop_host = host_path(prefix, desktop)
    if not desktop_host:
        sys.exit("no Desktop folder in the prefix: %r" % desktop)
    name = "lnk-corpus"
    win_folder = desktop + "\\" + name
    host = os.path.join(desktop_host, name)
    shutil.rmtree(host, ignore_errors=True)
    shutil.copytree(args.corpus, host)
    # The corpus is read-only; copied as is its folders would read as read-only ones,
    # which the scan rightly does not enter.
    for base, dirs, _ in os.walk(host):
        os.chmod(base, 0o755)
    give_to_wine_user(host)
    try:
        files = []
        for base, _, names in os.walk(host):
            files += [os.path.join(base, n) for n in names if n.lower().endswith(".lnk")]
        # Every file loads or fails cleanly: the probe prints one line for each.
        targets = read_targets(args, win_folder)
        if len(targets) != len(files):
            sys.exit("%d shortcuts, %d answers" % (len(files), len(targets)))
        bad = compare(targets, prefix, known)
        for relative, expected, target in bad:
            print("DISAGREE %s: lnkinfo %r, Target %r" % (relative, expected, target))
        local = sum(1 for p in files if lnkinfo_local_path(p) is not None)
        print("%d shortcuts loaded or failed cleanly; %d with a local path; %d known "
              "disagreements" % (len(targets), local, len(known)))

        # The orphans, derived from lnkinfo: a local path on a fixed drive of the prefix
        # that does not exist there. Known disagreements take Target instead.
        expected = set()
        for path, target in targets.items():
            relative = path.split("\\lnk-corpus\\", 1)[-1]
            stored = target if relative in known else lnkinfo_local_path(
                host_path(prefix, path))
            if stored and stored[:2].upper() in FIXED_DRIVES and len(stored) < 260 \
                    and host_path(prefix, stored) is None:
                expected.add(path)
        listed = run_probe(args.root, args.probe, "scan", win_folder)
        missing = expected - set(listed)
        extra = set(listed) - expected
        for p in sorted(missing):
            print("NOT LISTED %s (target %r)" % (p, targets.get(p)))
        for p in sorted(extra):
            print("LISTED WRONGLY %s (target %r)" % (p, targets.get(p)))
        if len(listed) != len(set(listed)):
            print("duplicates in the scan")
        print("scan listed %d orphans, %d expected" % (len(listed), len(expected)))
        if bad or missing or extra or len(listed) != len(set(listed)):
            sys.exit(1)
    finally:
        shutil.rmtree(host, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["fixtures", "corpus"])
    parser.add_argument("--probe", required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--corpus")
    parser.add_argument("--known")
    args = parser.parse_args()
    fixtures(args) if args.mode == "fixtures" else corpus(args)


if __name__ == "__main__":
    main()
