<?php
// The GUI's only road to the controllers: one XML request to the arrayrpc
// module, one XML answer back.
declare(strict_types=1);

final class Rpc
{
    /** Last request's failure text, for the page to show. */
    public static string $lastError = '';
    /** Requests made and nanoseconds spent inside the module, for measuring a page's own cost. */
    public static int $calls = 0;
    public static int $spentNs = 0;

    /** @param array<string, scalar> $params */
    public static function call(string $name, array $params = []): ?SimpleXMLElement
    {
        if (!preg_match('/^[A-Za-z_][A-Za-z0-9_]*$/', $name)) {
            self::$lastError = 'bad request name';
            return null;
        }
        $xml = '<' . $name . '>';
        foreach ($params as $k => $v) {
            if (!preg_match('/^[A-Za-z_][A-Za-z0-9_]*$/', (string)$k)) {
                self::$lastError = 'bad parameter name';
                return null;
            }
            $xml .= '<' . $k . '>' . htmlspecialchars((string)$v, ENT_XML1 | ENT_QUOTES, 'UTF-8') . '</' . $k . '>';
        }
        $xml .= '</' . $name . '>';
        $result = null;
        if (!function_exists('arrayrpc')) {
            self::$lastError = 'the arrayrpc module is not loaded';
            return null;
        }
        // The module's audit record names who asked and from where; it runs
        // as the web server's account and cannot know either itself.
        putenv('ARRAY_AUDIT_USER=' . (function_exists('current_user') ? (current_user() ?? '-') : '-'));
        putenv('ARRAY_AUDIT_FROM=' . (string)($_SERVER['REMOTE_ADDR'] ?? '-'));
        $began = hrtime(true);
        $rc = arrayrpc($xml, $result);
        self::$spentNs += hrtime(true) - $began;
        self::$calls++;
        if ($rc !== 1 || !is_string($result) || $result === '') {
            self::$lastError = "request $name was not served (code $rc)";
            return null;
        }
        $prev = libxml_use_internal_errors(true);
        $doc = simplexml_load_string($result, 'SimpleXMLElement', LIBXML_NOCDATA | LIBXML_NONET);
        libxml_clear_errors();
        libxml_use_internal_errors($prev);
        if ($doc === false) {
            self::$lastError = "request $name: malformed answer";
            return null;
        }
        self::$lastError = '';
        return $doc;
    }

    /** RetVal of an answer; 255 when there is no answer. */
    public static function retval(?SimpleXMLElement $doc): int
    {
        return $doc !== null && isset($doc->RetVal) ? (int)$doc->RetVal : 255;
    }

    /** A struct element as a flat name => text map. */
    public static function fields(?SimpleXMLElement $el): array
    {
        $out = [];
        if ($el === null) {
            return $out;
        }
        foreach ($el->children() as $child) {
            // Nested records (a disk's Link.Self.DevID) flatten to Link_Self_DevID.
            if ($child->count() > 0) {
                foreach (self::fields($child) as $k => $v) {
                    $out[$child->getName() . '_' . $k] = $v;
                }
            } else {
                $out[$child->getName()] = (string)$child;
            }
        }
        return $out;
    }

    /** The first struct of a successful answer, flattened; empty otherwise. */
    public static function firstStruct(?SimpleXMLElement $doc): array
    {
        if (self::retval($doc) !== 0) {
            return [];
        }
        foreach ($doc->children() as $c) {
            if ($c->getName() !== 'RetVal' && $c->count() > 0) {
                return self::fields($c);
            }
        }
        return [];
    }

    /**
     * The named members of a struct: output key => '/'-separated path
     * (Link/Self/DevID). Far cheaper than fields() on long lists, which is
     * what keeps a page of a big controller close to the module's own time.
     */
    public static function pick(SimpleXMLElement $el, array $paths): array
    {
        $out = [];
        foreach ($paths as $key => $path) {
            $node = $el;
            foreach (explode('/', $path) as $part) {
                if (!isset($node->{$part})) {
                    continue 2;
                }
                $node = $node->{$part};
            }
            $out[$key] = (string)$node;
        }
        return $out;
    }

    /**
     * Every record of a paged list request, following nextStartingIndex;
     * with $paths only those members of each record (see pick()).
     * @return array{0: int, 1: list<array<string,string>>} RetVal and records
     */
    public static function listAll(string $name, int $adapter, array $extra = [], ?array $paths = null): array
    {
        $records = [];
        $start = 0;
        for ($page = 0; $page < 1024; $page++) {
            $doc = self::call($name, ['AdapterID' => $adapter, 'requestType' => 1,
                'startingIndexOrId' => $start, 'numRequested' => 64] + $extra);
            $rc = self::retval($doc);
            if ($rc !== 0) {
                return [$rc, $records];
            }
            foreach ($doc->children() as $child) {
                $tag = $child->getName();
                if ($tag === 'RetVal' || $tag === 'RequestHeader') {
                    continue;
                }
                $records[] = $paths === null ? self::fields($child) : self::pick($child, $paths);
            }
            $next = (int)($doc->RequestHeader->nextStartingIndex ?? 65535);
            $returned = (int)($doc->RequestHeader->numReturned ?? 0);
            if ($returned === 0 || $next === 65535 || $next <= $start) {
                break;
            }
            $start = $next;
        }
        return [0, $records];
    }
}

/** Escapes every value shown on a page. */
function h(mixed $v): string
{
    return htmlspecialchars((string)$v, ENT_QUOTES | ENT_SUBSTITUTE, 'UTF-8');
}
