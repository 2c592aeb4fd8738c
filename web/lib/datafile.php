<?php
// The data file db.xml, shared with the daemon: schedules under
// root/BGASchedules (rows of decimal-text fields, the daemon writes a
// row's status back) and the GUI's own settings under root/Notify.
// Every change re-reads the file under an exclusive lock and replaces it
// atomically, so a row the daemon wrote back is never lost and a reader
// never sees half a file.
declare(strict_types=1);

final class DataFile
{
    public const SCHEDULE_FIELDS = ['index', 'settingType', 'bgaType', 'settingTime', 'settingDate',
        'settingDateSupplement', 'startTime', 'status', 'adapter', 'object'];

    public static function path(): string
    {
        $dir = getenv('ARRAY_DB_DIR');
        return ($dir !== false && $dir !== '' ? rtrim($dir, '/') : '/opt/korvex/storage/db') . '/db.xml';
    }

    private static function load(string $path): DOMDocument
    {
        $doc = new DOMDocument('1.0');
        $doc->preserveWhiteSpace = false;
        $doc->formatOutput = true;
        $text = is_file($path) ? file_get_contents($path) : false;
        if ($text !== false && trim($text) !== '') {
            $prev = libxml_use_internal_errors(true);
            $ok = $doc->loadXML($text, LIBXML_NONET);
            libxml_clear_errors();
            libxml_use_internal_errors($prev);
            if (!$ok) {
                throw new RuntimeException('the data file ' . $path . ' is not readable XML; it was left as it is');
            }
        }
        if ($doc->documentElement === null) {
            $doc->appendChild($doc->createElement('root'));
        }
        return $doc;
    }

    /** Reads the file (no lock needed: it is only ever replaced whole). */
    public static function read(): DOMDocument
    {
        return self::load(self::path());
    }

    /**
     * The lock file of the file's writers (the GUI and the daemon's write-back);
     * a lock file the daemon made as root can only be read, which is enough.
     * @return resource|false
     */
    public static function openLock(string $path)
    {
        $f = @fopen($path, 'c');
        return $f !== false ? $f : @fopen($path, 'r');
    }

    /** What changes when the file is replaced: the daemon writes a new file and renames it. */
    private static function identity(string $path): string
    {
        clearstatcache(true, $path);
        $st = @stat($path);
        return $st === false ? '-' : implode(':', [$st['ino'], $st['size'], $st['mtime'], $st['ctime']]);
    }

    /**
     * Runs $change on a fresh read of the file under the exclusive lock and
     * writes the result back atomically; $change must have no effect beyond
     * the document, as it runs again when the daemon (which takes no lock)
     * replaced the file in the meantime. Returns what $change returned.
     */
    public static function modify(callable $change): mixed
    {
        $path = self::path();
        $lock = self::openLock($path . '.lock');
        if ($lock === false || !flock($lock, LOCK_EX)) {
            throw new RuntimeException('cannot lock the data file');
        }
        try {
            for ($try = 0;; $try++) {
                $before = self::identity($path);
                $doc = self::load($path);
                $result = $change($doc);
                $tmp = self::writeTemp($path, $doc->saveXML());
                if (self::identity($path) !== $before && $try < 20) {
                    unlink($tmp);
                    continue;
                }
                if (!rename($tmp, $path)) {
                    @unlink($tmp);
                    throw new RuntimeException('cannot replace the data file');
                }
                return $result;
            }
        } finally {
            flock($lock, LOCK_UN);
            fclose($lock);
        }
    }

    private static function writeTemp(string $path, string $text): string
    {
        $tmp = tempnam(dirname($path), '.db.xml.');
        if ($tmp === false) {
            throw new RuntimeException('cannot write beside the data file');
        }
        $f = fopen($tmp, 'w');
        if ($f === false || fwrite($f, $text) !== strlen($text) || !fflush($f) || !fsync($f)) {
            if ($f !== false) {
                fclose($f);
            }
            @unlink($tmp);
            throw new RuntimeException('cannot write the data file');
        }
        fclose($f);
        chmod($tmp, 0644);
        return $tmp;
    }

    public static function table(DOMDocument $doc, string $name): DOMElement
    {
        $root = $doc->documentElement;
        foreach ($root->childNodes as $n) {
            if ($n instanceof DOMElement && $n->nodeName === $name) {
                return $n;
            }
        }
        $t = $doc->createElement($name);
        $root->appendChild($t);
        return $t;
    }

    /** @return list<array<string,string>> schedule rows as the daemon reads them */
    public static function schedules(?DOMDocument $doc = null): array
    {
        $doc ??= self::read();
        $rows = [];
        foreach (self::table($doc, 'BGASchedules')->childNodes as $row) {
            if (!$row instanceof DOMElement || !$row->hasChildNodes()) {
                continue;
            }
            $r = [];
            foreach ($row->childNodes as $f) {
                if ($f instanceof DOMElement && $f->hasChildNodes()) {
                    $r[$f->nodeName] = $f->textContent;
                }
            }
            $rows[] = $r;
        }
        return $rows;
    }

    public static function findSchedule(DOMDocument $doc, string $index): ?DOMElement
    {
        foreach (self::table($doc, 'BGASchedules')->childNodes as $row) {
            if (!$row instanceof DOMElement) {
                continue;
            }
            foreach ($row->childNodes as $f) {
                if ($f instanceof DOMElement && $f->nodeName === 'index' && $f->textContent === $index) {
                    return $row;
                }
            }
        }
        return null;
    }

    public static function setField(DOMElement $row, string $name, string $value): void
    {
        foreach ($row->childNodes as $f) {
            if ($f instanceof DOMElement && $f->nodeName === $name) {
                $f->textContent = $value;
                return;
            }
        }
        $row->appendChild($row->ownerDocument->createElement($name))->textContent = $value;
    }

    /** @return array<string,string> the GUI's own settings of a table */
    public static function settings(string $table, ?DOMDocument $doc = null): array
    {
        $doc ??= self::read();
        $out = [];
        foreach (self::table($doc, $table)->childNodes as $f) {
            if ($f instanceof DOMElement) {
                $out[$f->nodeName] = $f->textContent;
            }
        }
        return $out;
    }

    public static function setSetting(DOMDocument $doc, string $table, string $name, string $value): void
    {
        self::setField(self::table($doc, $table), $name, $value);
    }
}
