package tarnell.host;

/**
 * Loads the core library for a host that started the JVM itself. Natives bind
 * only in the class loader that loaded their library: this class lives on
 * the same class path as the bridges' classes.
 */
public final class CoreLoader {
    private CoreLoader() {
    }

    public static void load(String path) {
        System.load(path);
    }
}
