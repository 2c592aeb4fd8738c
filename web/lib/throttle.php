<?php
// Failed log-ons, counted per account and per client address in one small
// file that every Apache worker shares under an exclusive lock. A guesser
// who drops its session cookie, or whose attempts land on different
// workers, is counted all the same. Past FREE failures a key is closed for
// a time that doubles with each further failure, and while it is closed an
// attempt is refused at once: the password is not checked and no worker
// waits. A successful log-on resets both keys; a key is forgotten once it
// has been quiet for a while.
declare(strict_types=1);

final class LogonThrottle
{
    /** Failures of a key that close nothing. */
    public const FREE = 3;
    /** The longest closure and the quiet time after which a key is forgotten, in first closures. */
    private const LONGEST = 90;
    private const FORGET_AFTER = 360;
    /** Keys kept at most: a spray of made-up names cannot grow the file without end. */
    private const MAX_KEYS = 4096;

    private string $path;
    private int $base;

    /**
     * $dir is the directory of the counters' file, $base the first closure
     * in seconds (by default 10 s: then 20, 40 ... up to 15 minutes, a key
     * forgotten after an hour without failures).
     */
    public function __construct(string $dir, int $base = 10)
    {
        $this->path = rtrim($dir, '/') . '/logon-failures.json';
        $this->base = max(1, min(3600, $base));
    }

    /** The workers' counters: under $ARRAY_GUI_STATE/logon, the first closure from $ARRAY_GUI_LOGON_WAIT. */
    public static function forServer(): self
    {
        $state = getenv('ARRAY_GUI_STATE');
        $wait = getenv('ARRAY_GUI_LOGON_WAIT');
        $base = $wait !== false && preg_match('/^\d{1,4}$/', $wait) ? (int)$wait : 10;
        return new self(($state !== false && $state !== '' ? rtrim($state, '/') : '/var/lib/arraysuite/gui') . '/logon', $base);
    }

    public function path(): string
    {
        return $this->path;
    }

    /** Seconds a key with $fails failures is closed for after its last failure. */
    public function closure(int $fails): int
    {
        if ($fails <= self::FREE) {
            return 0;
        }
        return min($this->base * self::LONGEST, $this->base << min(20, $fails - self::FREE - 1));
    }

    /**
     * An attempt of $user from $addr. 'open': the password may be checked,
     * and the attempt already counts as a failure (so that attempts checked
     * side by side in several workers cannot pass the limit together) until
     * succeeded() clears it. 'closed': refused, log-on reopens in 'wait'
     * seconds. 'unavailable': the counters cannot be kept ('why' says why),
     * and log-on stays closed rather than open to unlimited guessing.
     * @return array{state: string, wait: int, why: string}
     */
    public function attempt(string $user, string $addr, ?int $now = null): array
    {
        $now ??= time();
        return $this->update(function (array &$t) use ($user, $addr, $now): array {
            $keys = $this->keys($t, $user, $addr);
            $wait = 0;
            foreach ($keys as $k) {
                if (isset($t['keys'][$k])) {
                    // A clock set back never stretches a closure past its longest.
                    $wait = max($wait, min($t['keys'][$k][1] - $now, $this->closure(PHP_INT_MAX)));
                }
            }
            if ($wait > 0) {
                return ['state' => 'closed', 'wait' => $wait, 'why' => ''];
            }
            foreach ($keys as $k) {
                $fails = ($t['keys'][$k][0] ?? 0) + 1;
                $t['keys'][$k] = [$fails, $now + $this->closure($fails), $now];
            }
            return ['state' => 'open', 'wait' => 0, 'why' => ''];
        }, $now);
    }

    /** A successful log-on: both keys start again from nothing. */
    public function succeeded(string $user, string $addr, ?int $now = null): void
    {
        $this->update(function (array &$t) use ($user, $addr): array {
            foreach ($this->keys($t, $user, $addr) as $k) {
                unset($t['keys'][$k]);
            }
            return ['state' => 'open', 'wait' => 0, 'why' => ''];
        }, $now ?? time());
    }

    /** Keys held now (for tests and the curious). */
    public function keyCount(): int
    {
        $text = @file_get_contents($this->path);
        $t = $text === false ? null : json_decode($text, true);
        return is_array($t) && is_array($t['keys'] ?? null) ? count($t['keys']) : 0;
    }

    /**
     * The keys of an account and of an address. They are keyed hashes: a
     * password typed into the name field by mistake is never written down.
     * An IPv6 client is counted by its /64, which one machine usually holds whole.
     */
    private function keys(array $t, string $user, string $addr): array
    {
        $bin = @inet_pton($addr);
        if ($bin !== false && strlen($bin) === 16) {
            $bin = str_starts_with($bin, str_repeat("\0", 10) . "\xff\xff") ? substr($bin, 12) : substr($bin, 0, 8);
        }
        $secret = (string)$t['secret'];
        return [hash_hmac('sha256', "user\0" . $user, $secret), hash_hmac('sha256', "addr\0" . ($bin !== false ? $bin : $addr), $secret)];
    }

    /** Runs $change on the counters under the file's lock and writes them back. */
    private function update(callable $change, int $now): array
    {
        $f = @fopen($this->path, 'c+');
        if ($f === false) {
            return ['state' => 'unavailable', 'wait' => 0, 'why' => 'cannot open ' . $this->path];
        }
        try {
            if (!flock($f, LOCK_EX)) {
                return ['state' => 'unavailable', 'wait' => 0, 'why' => 'cannot lock ' . $this->path];
            }
            $text = stream_get_contents($f);
            $t = is_string($text) && $text !== '' ? json_decode($text, true) : null;
            if (!is_array($t) || !is_string($t['secret'] ?? null) || !is_array($t['keys'] ?? null)) {
                // A new or damaged file starts afresh, with a new secret.
                $t = ['secret' => bin2hex(random_bytes(16)), 'keys' => []];
            }
            $t['keys'] = $this->pruned($t['keys'], $now);
            $result = $change($t);
            $out = json_encode($t);
            if (!ftruncate($f, 0) || !rewind($f) || fwrite($f, $out) !== strlen($out) || !fflush($f)) {
                return ['state' => 'unavailable', 'wait' => 0, 'why' => 'cannot write ' . $this->path];
            }
            return $result;
        } finally {
            flock($f, LOCK_UN);
            fclose($f);
        }
    }

    /** Drops keys quiet for long and closed no more; past MAX_KEYS the stalest go. */
    private function pruned(array $keys, int $now): array
    {
        $forget = $this->base * self::FORGET_AFTER;
        $out = [];
        foreach ($keys as $k => $v) {
            if (is_string($k) && is_array($v) && count($v) === 3 && is_int($v[0]) && is_int($v[1]) && is_int($v[2])
                && ($v[1] > $now || $now - $v[2] < $forget)) {
                $out[$k] = $v;
            }
        }
        if (count($out) > self::MAX_KEYS) {
            uasort($out, fn(array $a, array $b): int => $b[2] <=> $a[2]);
            $out = array_slice($out, 0, self::MAX_KEYS, true);
        }
        return $out;
    }
}
