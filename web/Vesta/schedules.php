<?php
// Background-activity schedules: rows of root/BGASchedules in the data
// file, which the daemon reads every pass and triggers when due.
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';
require_once __DIR__ . '/../lib/controller.php';
require_once __DIR__ . '/../lib/datafile.php';

require_login();
$ok = $err = null;

/** A schedule row from the form, or an error text. */
function schedule_from_post(): array|string
{
    $int = fn(string $k, int $min, int $max) => filter_var($_POST[$k] ?? null, FILTER_VALIDATE_INT,
        ['options' => ['min_range' => $min, 'max_range' => $max]]);
    $type = $int('settingType', 0, 3);
    $act = $int('bgaType', 0, 255);
    $adapter = $int('adapter', 0, 255);
    $vd = $int('object', 0, 65535);
    if ($type === false || $act === false || !isset(Vocab::ACTIVITIES[$act]) || $adapter === false || $vd === false) {
        return 'Choose a schedule type, an activity, an adapter and a VD.';
    }
    $time = post_text('settingTime');
    if (!preg_match('/^([01]\d|2[0-3]):?([0-5]\d)$/', $time, $m)) {
        return 'The time of day is hh:mm (24 hours).';
    }
    $row = ['settingType' => (string)$type, 'bgaType' => (string)$act, 'settingTime' => $m[1] . $m[2],
        'adapter' => (string)$adapter, 'object' => (string)$vd, 'status' => '0', 'settingDateSupplement' => '0'];
    $date = fn(string $k) => preg_match('/^(\d{4})-?(\d{2})-?(\d{2})$/', post_text($k), $d)
        && checkdate((int)$d[2], (int)$d[3], (int)$d[1]) ? $d[1] . $d[2] . $d[3] : null;
    if ($type === 0) {
        $on = $date('settingDate');
        if ($on === null) {
            return 'A schedule that runs once needs its date (YYYY-MM-DD).';
        }
        $row['settingDate'] = $on;
        $row['startTime'] = $on;
    } else {
        $every = $int('interval', 1, 999);
        $start = $date('startTime');
        if ($every === false || $start === null) {
            return 'A recurring schedule needs an interval (1 to 999) and a start date (YYYY-MM-DD).';
        }
        $row['settingDate'] = (string)$every;
        $row['startTime'] = $start;
        if ($type === 2) {
            $wd = $int('weekday', 0, 6);
            if ($wd === false) {
                return 'A weekly schedule needs its weekday.';
            }
            $row['settingDateSupplement'] = (string)$wd;
        } elseif ($type === 3) {
            $md = $int('monthday', 1, 31);
            if ($md === false) {
                return 'A monthly schedule needs its day of the month (1 to 31).';
            }
            $row['settingDateSupplement'] = (string)$md;
        }
    }
    return $row;
}

if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    require_post();
    $op = $_POST['op'] ?? '';
    try {
        if ($op === 'add' || $op === 'change') {
            $row = schedule_from_post();
            if (is_string($row)) {
                $err = $row;
            } else {
                $index = post_text('index');
                $ok = DataFile::modify(function (DOMDocument $doc) use ($row, $op, $index) {
                    $table = DataFile::table($doc, 'BGASchedules');
                    if ($op === 'change') {
                        $el = DataFile::findSchedule($doc, $index);
                        if ($el === null) {
                            return null;
                        }
                    } else {
                        // An index is never given twice, not even after its row was
                        // removed: a run request of the daemon for an old row must
                        // not start a new one.
                        $max = (int)(DataFile::settings('GuiState', $doc)['lastScheduleIndex'] ?? 0);
                        foreach (DataFile::schedules($doc) as $r) {
                            $max = max($max, (int)($r['index'] ?? 0));
                        }
                        $index = (string)($max + 1);
                        DataFile::setSetting($doc, 'GuiState', 'lastScheduleIndex', $index);
                        $el = $table->appendChild($doc->createElement('schedule'));
                        DataFile::setField($el, 'index', $index);
                    }
                    foreach ($row as $k => $v) {
                        DataFile::setField($el, $k, $v);
                    }
                    return "Schedule $index saved.";
                });
                if ($ok === null) {
                    $err = 'That schedule no longer exists.';
                }
            }
        } elseif ($op === 'remove') {
            $index = post_text('index');
            $ok = DataFile::modify(function (DOMDocument $doc) use ($index) {
                $el = DataFile::findSchedule($doc, $index);
                if ($el === null) {
                    return null;
                }
                $el->parentNode->removeChild($el);
                return "Schedule $index removed.";
            });
            if ($ok === null) {
                $err = 'That schedule no longer exists.';
            }
        }
    } catch (RuntimeException $e) {
        $err = $e->getMessage();
        $ok = null;
    }
}

$rows = [];
try {
    $rows = DataFile::schedules();
} catch (RuntimeException $e) {
    $err = $e->getMessage();
}
$status = [0 => 'waiting', 1 => 'triggered', 2 => 'has run'];
page_head('Schedules');
flash($ok, $err);
echo '<table id="schedules"><tr><th>Index</th><th>Type</th><th>Activity</th><th>Adapter</th><th>VD</th><th>Time</th>'
    . '<th>Date / interval</th><th>Day</th><th>Start</th><th>Status</th><th></th></tr>';
foreach ($rows as $r) {
    $idx = $r['index'] ?? '';
    echo '<tr id="schedule-' . h($idx) . '"><td>' . h($idx) . '</td><td>' . h(Vocab::SCHEDULE_TYPES[(int)($r['settingType'] ?? -1)] ?? '?')
        . '</td><td>' . h(Vocab::ACTIVITIES[(int)($r['bgaType'] ?? -1)] ?? ($r['bgaType'] ?? '')) . '</td><td>' . h($r['adapter'] ?? '')
        . '</td><td>' . h($r['object'] ?? '') . '</td><td>' . h($r['settingTime'] ?? '') . '</td><td>' . h($r['settingDate'] ?? '')
        . '</td><td>' . h($r['settingDateSupplement'] ?? '') . '</td><td>' . h($r['startTime'] ?? '')
        . '</td><td class="status">' . h($status[(int)($r['status'] ?? 0)] ?? ($r['status'] ?? ''))
        . (isset($r['lastResult']) && $r['lastResult'] !== '0' ? ' (' . h(Words::error((int)$r['lastResult'])) . ')' : '')
        . '</td><td><form method="post" action="schedules.php" class="inline">' . csrf_field()
        . '<input type="hidden" name="index" value="' . h($idx) . '"><button name="op" value="remove" id="remove-' . h($idx)
        . '">Remove</button></form></td></tr>';
}
echo '</table>';
$today = date('Y-m-d');
?>
<h3>Add or change a schedule</h3>
<form method="post" action="schedules.php" id="schedule-form">
<?= csrf_field() ?>
<label>Index to change (empty: add) <input name="index" id="index"></label>
<label>Type <select name="settingType" id="settingType"><?php foreach (Vocab::SCHEDULE_TYPES as $k => $v) echo '<option value="' . $k . '">' . h($v) . '</option>'; ?></select></label>
<label>Activity <select name="bgaType" id="bgaType"><?php foreach (Vocab::ACTIVITIES as $k => $v) echo '<option value="' . $k . '">' . h($v) . '</option>'; ?></select></label>
<label>Adapter <input name="adapter" value="0" id="adapter"></label>
<label>VD <input name="object" value="0" id="object"></label>
<label>Time of day (hh:mm) <input name="settingTime" id="settingTime" value="<?= h(date('H:i')) ?>"></label>
<label>Date, for once (YYYY-MM-DD) <input name="settingDate" id="settingDate" value="<?= h($today) ?>"></label>
<label>Every N days / weeks / months <input name="interval" id="interval" value="1"></label>
<label>Weekday (0 Sunday .. 6) <input name="weekday" id="weekday" value="0"></label>
<label>Day of the month <input name="monthday" id="monthday" value="1"></label>
<label>Start date (YYYY-MM-DD) <input name="startTime" id="startTime" value="<?= h($today) ?>"></label>
<button type="submit" name="op" value="add" id="add-schedule">Add</button>
<button type="submit" name="op" value="change" id="change-schedule">Change</button>
</form>
<?php
page_foot();
